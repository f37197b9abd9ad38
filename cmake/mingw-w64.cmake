# Cross-builds the Windows programs with Debian's mingw-w64 (x86-64, posix thread model, which
# GCC needs for std::thread and std::mutex) and runs them under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

# Everything linked in: the programs need no DLL beyond the ones Windows brings.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Header-only packages of the build machine (CLI11) are offered through a small root of their own,
# so that its /usr/include, full of Linux headers, never reaches the cross compiler.
set(host_headers_root ${CMAKE_BINARY_DIR}/host-headers)
if(EXISTS /usr/share/cmake/CLI11/CLI11Config.cmake AND NOT EXISTS ${host_headers_root}/include/CLI)
    file(COPY /usr/share/cmake/CLI11 DESTINATION ${host_headers_root}/share/cmake)
    file(MAKE_DIRECTORY ${host_headers_root}/include)
    file(CREATE_LINK /usr/include/CLI ${host_headers_root}/include/CLI SYMBOLIC)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet} ${host_headers_root})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and the screenshot run the programs through wine, with a prefix of the build's own and
# the ANSI code page 936.
get_filename_component(wine_run ${CMAKE_CURRENT_LIST_DIR}/../scripts/lib/wine-run ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${wine_run} ${CMAKE_BINARY_DIR}/wine)
