#!/usr/bin/env bash
# The Debian package from the outside, with no root install: unpacked into a temporary folder,
# its desktop entry, metainfo and manual pages pass their validators, its melodex-cli prints the
# package's version, the icon is there at every size, and lintian finds no error.
#   tests/packaging/check_package.sh DEB
set -u
deb=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
failures=0

# Reports a failed check with what its tool said in $work/out, if it said anything.
fail() {
    printf 'FAIL %s\n' "$1"
    [ -s "$work/out" ] && sed 's/^/  /' "$work/out"
    rm -f "$work/out"
    failures=$((failures + 1))
}

dpkg-deb -x "$deb" "$root" || { echo "FAIL cannot unpack $deb"; exit 1; }
version=$(dpkg-deb -f "$deb" Version)
app_id=io.github.melodex.Melodex

desktop="$root/usr/share/applications/$app_id.desktop"
{ desktop-file-validate "$desktop" > "$work/out" 2>&1 && [ ! -s "$work/out" ]; } ||
    fail "desktop entry"
grep -qx "Icon=$app_id" "$desktop" || fail "desktop entry names the icon $app_id"
grep -qx "Exec=melodex" "$desktop" || fail "desktop entry starts melodex"
grep -q '^Comment\[zh_CN\]=' "$desktop" || fail "desktop entry has a Chinese comment"

metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"
appstreamcli validate --no-net --pedantic "$metainfo" > "$work/out" 2>&1 || fail "metainfo"
# The metainfo with the desktop entry and the icons it names.
appstreamcli validate-tree --no-net "$root" > "$work/out" 2>&1 || fail "installed tree"
rm -f "$work/out"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo names release $version"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop<" "$metainfo" ||
    fail "metainfo launches the desktop entry"

for page in melodex-cli melodex; do
    file="$root/usr/share/man/man1/$page.1.gz"
    # man-db's own check of a page, as lintian runs it: any warning of groff fails.
    { LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$file" > /dev/null 2> "$work/out" &&
        [ ! -s "$work/out" ]; } || fail "manual page $page"
done
rm -f "$work/out"

cli="$root/usr/bin/melodex-cli"
out=$("$cli" --version 2>&1)
[ "$out" = "melodex-cli $version" ] || fail "melodex-cli --version printed '$out', not $version"
# Every option the help texts list is in the manual page.
zcat "$root/usr/share/man/man1/melodex-cli.1.gz" > "$work/page"
for command in "" analyze search fragments; do
    # shellcheck disable=SC2086
    "$cli" $command --help | grep -o -- '--[a-z][a-z-]*'
done | sort -u | while read -r option; do
    grep -qF -- "${option//-/\\-}" "$work/page" || echo "melodex-cli(1) lacks $option"
done > "$work/missing"
[ -s "$work/missing" ] && fail "$(cat "$work/missing")"

for size in 16 24 32 48 64 128 256; do
    file="$root/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png"
    [ "$(file -b "$file" | cut -d, -f2)" = " $size x $size" ] || fail "icon at ${size}x$size"
done
[ -s "$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "scalable icon"

# Lintian's tags are shown; an error fails.
lintian --fail-on error "$deb" > "$work/lintian" 2>&1
status=$?
grep -v '^running with root privileges' "$work/lintian" | sed 's/^/lintian: /'
[ "$status" = 0 ] || fail "lintian"

[ "$failures" = 0 ] && echo "all package checks passed"
exit "$failures"
