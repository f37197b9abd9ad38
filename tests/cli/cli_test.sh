#!/usr/bin/env bash
# melodex-cli from the outside: its output, exit statuses and the files it touches.
set -u
cli=$(realpath "$1")
readme=$(realpath "$(dirname "$0")/../../README.md")
work=$(mktemp -d)
# Folders are named relative to the work folder, whose random name could hold a fragment.
cd "$work"
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data"
failures=0

check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
        failures=$((failures + 1))
    fi
}

mkdir -p s t/x t/-
touch "s/A - B.mp3" t/A.mp3 "t/x/B A.mp3" t/B.mp3 t/-/-.mp3
head -c 1153434 /dev/zero > "t/x/B A.mp3"

# analyze: the report to standard output, to a file, and to the default place.
out=$("$cli" analyze --report - s t; echo "status $?")
expected=$(printf 'A\t%s\r\nA\t%s\r\n\r\nB\t%s\r\nB\t%s\r\n\r\nstatus 0' \
    t/A.mp3 "t/x/B A.mp3	1.1MB" t/B.mp3 "t/x/B A.mp3	1.1MB")
expected=${expected//.mp3$'\r'/.mp3	0KB$'\r'}
check "analyze to standard output" "$expected" "$out"
check "keyword file created empty" "0" "$(stat -c %s "$work/data/melodex/MP3过滤关键字.txt")"

"$cli" analyze s t
check "default report" "$(printf '%s' "${expected%status 0}")" "$(cat "$work/data/melodex/MP3文件重复分析报告.txt"; echo)"

printf 'a\r\n' > "$work/keywords.txt"
"$cli" analyze --keywords "$work/keywords.txt" --report "$work/r.txt" s t
check "keywords filter" "$(printf 'B\t%s\t0KB\r\nB\t%s\t1.1MB\r\n\r\n' t/B.mp3 "t/x/B A.mp3")" "$(cat "$work/r.txt")"

# An unwritable report is an error that leaves the earlier report alone.
mkdir "$work/ro"; echo earlier > "$work/ro/r.txt"; chmod a-w "$work/ro"
if [ "$(id -u)" != 0 ]; then
    "$cli" analyze --report "$work/ro/r.txt" s t 2> "$work/err"
    check "unwritable report status" "1" "$?"
    check "earlier report kept" "earlier" "$(cat "$work/ro/r.txt")"
fi
"$cli" analyze --report "$work/missing/r.txt" s t 2> "$work/err"
check "report in a missing folder" "1" "$?"
check "error names the report" "melodex-cli: cannot write the report file: $work/missing/r.txt" "$(cat "$work/err")"

"$cli" analyze nowhere t 2> "$work/err"
check "missing source status" "1" "$?"
check "missing source message" "melodex-cli: source folder not found: nowhere" "$(cat "$work/err")"
"$cli" analyze s nowhere 2> /dev/null
check "missing target status" "1" "$?"

# search: walk order, sizes, exact letter case, "--" before a path that looks like an option.
check "search" "$(printf '%s\t0KB\n%s\t1.1MB' t/A.mp3 "t/x/B A.mp3")" "$("$cli" search A t)"
check "search letter case" "" "$("$cli" search a t)"
check "search empty fragment" "4" "$("$cli" search "" t | wc -l)"
check "search after --" "t/-/-.mp3	0KB" "$("$cli" search -- -.mp3 t)"
"$cli" search A nowhere 2> "$work/err"
check "missing search folder" "1" "$?"

# A UTF-8 name is not double-byte text, yet under either rule it still ends in ".mp3".
mkdir -p t/new_songs && touch 't/new_songs/AC-DC-十年__周杰伦.mp3'
for code_page in gbk utf-8; do
    check "search --code-page $code_page, a name of other bytes" \
        "t/new_songs/AC-DC-十年__周杰伦.mp3	0KB" "$("$cli" search --code-page "$code_page" new_songs t/)"
done

# fragments: the analysis and the display forms, an empty suffix, GBK bytes.
check "fragments" "$(printf '2\tArtist\tTitle \n0\n5\ta\tb\tc\td\te')" \
    "$("$cli" fragments "/m/Artist - Title (Live).mp3" /m/Song.mp3 /m/a-b-c-d-e.mp3)"
check "fragments --display" "$(printf 'a-b-c-d-e.mp3\t4\ta\tb\tc\td\nSong-.mp3\t0')" \
    "$("$cli" fragments --display /m/a-b-c-d-e.mp3 /m/Song-.mp3)"
check "fragments empty suffix" "$(printf '2\tAB\tCmp3')" "$("$cli" fragments --suffix "" "/m/A.B - C.mp3")"
check "fragments gbk" "$(printf '2\t\xB8\xE8\xCA\xD6\t\xB8\xE8\xC3\xFB')" \
    "$("$cli" fragments --code-page gbk "$(printf '/m/\xB8\xE8\xCA\xD6_\xB8\xE8\xC3\xFB.MP3')")"
check "fragments gbk brackets" "$(printf '2\tB\tC ')" \
    "$("$cli" fragments --code-page gbk "$(printf '/m/\xA3\xA8A\xA3\xA9B-C (D).mp3')")"

# A path longer than the system takes in one call is listed with its size by search and analyze.
name=$(printf 'n%.0s' {1..250})
mkdir long s3 && touch "long/Deep Song.mp3" "s3/y - Deep Song.mp3"
(cd long && for _ in $(seq 20); do mkdir "$name" && cd "$name" || exit 1; done
    truncate -s 2M "x - Deep Song.mp3")
deep=long$(printf "/$name%.0s" $(seq 20))
check "search a long path" "$(printf 'long/Deep Song.mp3\t0KB\n%s\t2MB' "$deep/x - Deep Song.mp3")" \
    "$("$cli" search "Deep Song" long)"
check "analyze a long path" \
    "$(printf 'Deep Song\tlong/Deep Song.mp3\t0KB\r\nDeep Song\t%s\t2MB\r\n\r\n.' "$deep/x - Deep Song.mp3")" \
    "$("$cli" analyze --report - s3 long; printf .)"

# A folder that cannot be read is named on standard error, once, and the run ends with status 3,
# its output written. Permissions do not bind root: it runs the program as nobody, from a folder
# nobody can reach.
other=$work/other
chmod 755 "$work"
mkdir -p "$other/u/open" "$other/u/locked" "$other/many" "$other/reports"
cp "$cli" "$other/melodex-cli"
touch "$other/u/open/a.mp3" "$other/u/locked/b.mp3" "$other/keywords.txt"
for i in $(seq -w 1 23); do mkdir "$other/many/l$i"; done
chmod 000 "$other/u/locked" "$other"/many/l*
chmod 777 "$other/reports"
as_other() {
    if [ "$(id -u)" = 0 ]; then
        setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
    else
        "$@"
    fi
}
cd "$other"
out=$(as_other ./melodex-cli search "" u 2> err; echo "status $?")
check "search past an unreadable folder" "$(printf 'u/open/a.mp3\t0KB\nstatus 3')" "$out"
check "unreadable folder named" "melodex-cli: cannot read folder u/locked/: Permission denied" "$(cat err)"
out=$(as_other ./melodex-cli analyze --keywords keywords.txt --report - u/locked u 2> err
    echo "status $?")
check "analyze an unreadable source" "status 3" "$out"
check "unreadable source named once" "melodex-cli: cannot read folder u/locked/: Permission denied" \
    "$(cat err)"
as_other ./melodex-cli analyze --keywords keywords.txt --report reports/r.txt u u 2> err
check "analyze past an unreadable folder" "3" "$?"
check "its report written" "0" "$(stat -c %s reports/r.txt 2>&1)"
as_other ./melodex-cli search x many 2> err
check "search past many unreadable folders" "3" "$?"
check "the first 20 named" "20" "$(grep -c '^melodex-cli: cannot read folder many/l[0-9]*/: ' err)"
check "the rest counted" "melodex-cli: 3 more folders could not be read" "$(tail -n 1 err)"
cd "$work"

check "README and --help tell the same exit statuses" \
    "$(awk '/^- Exit status:/ { on = 1; sub(/^- /, ""); printf "%s", $0; next }
            on && /^  / { sub(/^ +/, " "); printf "%s", $0; next } { on = 0 }' "$readme")" \
    "$("$cli" --help | grep '^Exit status:')"

# Usage errors exit 2.
for args in "" "analyze" "analyze one" "search x" "fragments" "bogus" "search --code-page latin1 a b"; do
    # shellcheck disable=SC2086
    "$cli" $args > /dev/null 2>&1
    check "usage: '$args'" "2" "$?"
done
"$cli" --help > /dev/null
check "help" "0" "$?"

[ "$failures" = 0 ] && echo "all melodex-cli checks passed"
exit "$failures"
