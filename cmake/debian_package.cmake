# The Debian package of the Linux programs and their desktop data: `cpack --preset package` in the
# package build (scripts/package-linux) writes dist/melodex_<version>_amd64.deb.
set(MELODEX_MAINTAINER "The Melodex developers <maintainer@melodex.example>" CACHE STRING
    "The maintainer named by the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME melodex)
set(CPACK_PACKAGE_VENDOR "The Melodex developers")
set(CPACK_PACKAGE_CONTACT ${MELODEX_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find probable duplicate music files by their names")
set(CPACK_PACKAGE_DESCRIPTION "\
Melodex cleans a music file's name (drops the extension and a bracketed
remark), cuts it into fragments at its first separator and looks for each
fragment in the full paths of the .mp3 files of a folder tree. A fragment
found in two or more files is reported as a group.
.
The package holds the desktop tool melodex, with its one-key analysis and
manual search panel, and melodex-cli, the same analysis and search from a
terminal.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MELODEX_WEB_ADDRESS})
# The libraries the programs link come from dpkg-shlibdeps. Qt loads its platform plugins at run
# time, which no link shows: the X11 one is in qt6-qpa-plugins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(MELODEX_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
    # Opening the report and playing a file go through xdg-open; the window's texts are Chinese.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-noto-cjk | fonts-wqy-microhei")
endif()
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
