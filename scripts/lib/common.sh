# Shared by scripts/run and scripts/test: installs missing Debian packages, builds a preset.
# Sourced, not run.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# The packages every build needs; the scripts add their own. rsvg-convert (librsvg2-bin)
# renders the icon's bitmaps.
build_packages=(g++ make cmake pkg-config libcli11-dev librsvg2-bin)
# The window on Linux: Qt 6 Widgets with Qt D-Bus, and xcb for its place in the stacking order.
build_packages+=(qt6-base-dev libxcb1-dev)
# The Windows programs: cross-built with mingw-w64 (posix threads), tested under wine in the
# zh_CN locale with GoogleTest built from its sources, windows on a virtual display.
# icotool (icoutils) packs the icon for the programs' resources.
windows_packages=(g++-mingw-w64-x86-64-posix wine64 wine googletest locales xvfb xauth icoutils)
# The Debian package: dpkg-shlibdeps (dpkg-dev) finds its dependencies, for CPack, which tells
# programs by file.
package_packages=(dpkg-dev file)

# Installs the named Debian packages that are not installed yet, as root or through sudo.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local as_root=()
    if [ "$(id -u)" != 0 ]; then
        command -v sudo > /dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
        as_root=(sudo)
    fi
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends "${missing[@]}"
}

# Configures and builds one preset of CMakePresets.json.
build_preset() {
    cmake --preset "$1" -S "$repo" > /dev/null
    cmake --build --preset "$1"
}
