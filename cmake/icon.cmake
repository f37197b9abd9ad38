# The program's icon: drawn once as an SVG, rendered at build time into the bitmaps that desktops
# and Windows ask for.
set(melodex_icon_svg ${PROJECT_SOURCE_DIR}/data/${MELODEX_APP_ID}.svg)
# The icon's resource number in the Windows programs, which the window class loads.
set(melodex_windows_icon_id 1)

# Renders the icon at each of the given sizes into FOLDER/<size>.png of the current build folder
# and sets VARIABLE to the bitmaps' paths.
function(melodex_render_icon variable folder)
    find_program(MELODEX_RSVG_CONVERT rsvg-convert REQUIRED)
    set(bitmaps)
    foreach(size IN LISTS ARGN)
        set(bitmap ${CMAKE_CURRENT_BINARY_DIR}/${folder}/${size}.png)
        add_custom_command(OUTPUT ${bitmap}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/${folder}
            COMMAND ${MELODEX_RSVG_CONVERT} --width ${size} --height ${size}
                    --output ${bitmap} ${melodex_icon_svg}
            DEPENDS ${melodex_icon_svg}
            COMMENT "Rendering the icon at ${size}x${size}"
            VERBATIM)
        list(APPEND bitmaps ${bitmap})
    endforeach()
    set(${variable} ${bitmaps} PARENT_SCOPE)
endfunction()

# Gives a Windows program the icon and a version resource (product, version, DESCRIPTION), so
# that Explorer shows it as Melodex.
function(melodex_windows_resources target description)
    find_program(MELODEX_ICOTOOL icotool REQUIRED)
    # The sizes Windows shows at 100% to 250%; the largest is kept as PNG inside the .ico.
    melodex_render_icon(bitmaps icon 16 20 24 32 40 48 64 256)
    list(POP_BACK bitmaps large_bitmap)
    set(icon ${CMAKE_CURRENT_BINARY_DIR}/${target}.ico)
    add_custom_command(OUTPUT ${icon}
        COMMAND ${MELODEX_ICOTOOL} --create --output=${icon} ${bitmaps} --raw=${large_bitmap}
        DEPENDS ${bitmaps} ${large_bitmap}
        COMMENT "Packing ${target}.ico"
        VERBATIM)

    set(melodex_file_description ${description})
    set(melodex_file_name ${target})
    set(melodex_icon_file ${icon})
    set(resources ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/windows_resources.rc.in ${resources} @ONLY)
    target_sources(${target} PRIVATE ${resources})
    set_source_files_properties(${resources} PROPERTIES OBJECT_DEPENDS ${icon})
endfunction()
