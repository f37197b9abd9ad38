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

# The names in a folder, hidden ones too, on one line.
entries() {
    ls -A "$1" | tr '\n' ' ' | sed 's/ $//'
}

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

# Runs a command as a user whom permissions bind: the test's own, or nobody when the test runs as
# root, which may read and write everything.
as_user() {
    if [ "$(id -u)" = 0 ]; then
        setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
    else
        "$@"
    fi
}
chmod 755 "$work"

# An unwritable report is an error that names its reason and leaves the earlier report alone.
mkdir "$work/ro"; echo earlier > "$work/ro/r.txt"; chmod a-w "$work/ro"
as_user "$cli" analyze --keywords "$work/keywords.txt" --report "$work/ro/r.txt" s t 2> "$work/err"
check "unwritable report status" "1" "$?"
check "unwritable report message" \
    "melodex-cli: cannot write the report file $work/ro/r.txt: Permission denied" "$(cat "$work/err")"
check "earlier report kept" "earlier" "$(cat "$work/ro/r.txt")"
"$cli" analyze --report "$work/missing/r.txt" s t 2> "$work/err"
check "report in a missing folder" "1" "$?"
check "error names the report" \
    "melodex-cli: cannot write the report file $work/missing/r.txt: No such file or directory" \
    "$(cat "$work/err")"

# A report reached through a link stays a link, and the file it leads to keeps its permissions.
mkdir "$work/linked"
echo earlier > "$work/linked/real.txt"; chmod 600 "$work/linked/real.txt"
ln -s real.txt "$work/linked/r.txt"
"$cli" analyze --report "$work/linked/r.txt" s t
check "link kept" "$work/linked/r.txt -> real.txt" "$(find "$work/linked/r.txt" -printf '%p -> %l')"
check "report through the link" "$(printf '%s' "${expected%status 0}")" "$(cat "$work/linked/real.txt"; echo)"
check "mode kept" "600" "$(stat -c %a "$work/linked/real.txt")"
check "nothing else beside it" "r.txt real.txt" "$(entries "$work/linked")"

# A link planted where the report's temporary file used to go is never written through.
mkdir "$work/planted"; echo victim > "$work/planted/victim.txt"
ln -s victim.txt "$work/planted/r.txt.part"
"$cli" analyze --report "$work/planted/r.txt" s t
check "planted link not followed" "victim" "$(cat "$work/planted/victim.txt")"
check "report beside the planted link" "$(printf '%s' "${expected%status 0}")" \
    "$(cat "$work/planted/r.txt"; echo)"
check "planted link left alone" "victim.txt" "$(readlink "$work/planted/r.txt.part")"

# A large library, on which an analysis takes a while: 10,000 candidates, each found twice.
mkdir -p big/s big/t
(cd big/s && awk 'BEGIN { for (i = 1; i <= 10000; i++) printf "%05d a - %05d b.mp3\n", i, i }' |
    xargs -d '\n' touch)
(cd big/t && awk 'BEGIN { for (i = 1; i <= 10000; i++) printf "%05d a x.mp3\n%05d a y.mp3\n", i, i }' |
    xargs -d '\n' touch)
"$cli" analyze --report "$work/big.txt" big/s big/t
"$cli" analyze --report "$work/small.txt" s t

# Waits until a file other than the report r.txt is in FOLDER while PID runs; false if it ends.
temporary_file_seen() {  # FOLDER PID
    while kill -0 "$2" 2> /dev/null; do
        [ -n "$(ls -A "$1" | grep -vx r.txt)" ] && return 0
    done
    return 1
}

# Two runs that write one report at once leave one whole report of one of them.
for round in 1 2; do
    mkdir "$work/race$round"
    "$cli" analyze --report "$work/race$round/r.txt" big/s big/t & big_run=$!
    temporary_file_seen "$work/race$round" "$big_run" ||
        check "race $round: the large run was seen writing" "seen" "ended before"
    "$cli" analyze --report "$work/race$round/r.txt" s t
    check "race $round: the second run's status" "0" "$?"
    wait "$big_run"
    check "race $round: the first run's status" "0" "$?"
    if cmp -s "$work/race$round/r.txt" "$work/big.txt" || cmp -s "$work/race$round/r.txt" "$work/small.txt"; then
        check "race $round: one whole report" "" ""
    else
        check "race $round: one whole report" "big.txt or small.txt" "$(wc -c < "$work/race$round/r.txt") other bytes"
    fi
    check "race $round: no temporary file" "r.txt" "$(entries "$work/race$round")"
done

# A run ended by a signal leaves the earlier report and nothing else, and ends by that signal.
for signal in TERM HUP; do
    mkdir "$work/signal-$signal"; echo earlier > "$work/signal-$signal/r.txt"
    "$cli" analyze --report "$work/signal-$signal/r.txt" big/s big/t & run=$!
    if temporary_file_seen "$work/signal-$signal" "$run"; then
        kill -s "$signal" "$run"
        { wait "$run"; } 2> /dev/null
        status=$?
        check "SIG$signal: status" "$((128 + $(kill -l "$signal")))" "$status"
        check "SIG$signal: earlier report kept" "earlier" "$(cat "$work/signal-$signal/r.txt")"
        check "SIG$signal: no temporary file" "r.txt" "$(entries "$work/signal-$signal")"
    else
        check "SIG$signal: the run was seen writing" "seen" "ended before"
    fi
done

# An unusable --keywords file is an error with its reason, found without reading or waiting.
mkdir "$work/kw"; mkfifo "$work/kw/fifo"; head -c 1048577 /dev/zero | tr '\0' x > "$work/kw/large.txt"
echo 'live' > "$work/kw/secret.txt"; chmod 600 "$work/kw/secret.txt"
for entry in "$work/kw/fifo:Not a regular file" "/dev/zero:Not a regular file" \
    "$work/kw:Is a directory" "$work/nowhere/k.txt:No such file or directory" \
    "$work/kw/large.txt:File too large" "$work/kw/secret.txt:Permission denied"; do
    file=${entry%%:*}
    as_user timeout 10 "$cli" analyze --keywords "$file" --report - s t > /dev/null 2> "$work/err"
    check "unusable keywords $file: status" "1" "$?"
    check "unusable keywords $file: message" "melodex-cli: $file: ${entry#*:}" "$(cat "$work/err")"
done
"$cli" analyze --keywords "$work/kw/new.txt" --report - s t > /dev/null
check "a missing --keywords file is created empty" "0 0" "$? $(stat -c %s "$work/kw/new.txt")"

# The program directory's keyword file, when it cannot be used, means no keywords, never a wait.
program_keywords="$work/data/melodex/MP3过滤关键字.txt"
rm "$program_keywords"; mkfifo "$program_keywords"
out=$(timeout 10 "$cli" analyze --report - s t; echo "status $?")
check "program directory's keyword file is a FIFO" "$expected" "$out"
rm "$program_keywords"

# Standard output that cannot be written is an error with its reason.
for args in "search A t" "fragments /m/a-b.mp3" "analyze --report - s t"; do
    # shellcheck disable=SC2086
    "$cli" $args > /dev/full 2> "$work/err"
    check "'$args' > /dev/full: status" "1" "$?"
done
check "analyze > /dev/full: message" \
    "melodex-cli: cannot write the report to standard output: No space left on device" "$(cat "$work/err")"
"$cli" search A t > /dev/full 2> "$work/err"
check "search > /dev/full: message" "melodex-cli: standard output: No space left on device" \
    "$(cat "$work/err")"

"$cli" analyze nowhere t 2> "$work/err"
check "missing source status" "1" "$?"
check "missing source message" "melodex-cli: source folder not found: nowhere" "$(cat "$work/err")"
"$cli" analyze s nowhere 2> /dev/null
check "missing target status" "1" "$?"

# Report options. Candidates "A - B" and "B - C": the full report holds A (2 files), B (3 files)
# and B again; C is found nowhere.
mkdir -p opt/s opt/t
touch "opt/s/A - B.mp3" "opt/s/B - C.mp3" opt/t/A1.mp3 opt/t/A2.mp3 opt/t/B1.mp3 opt/t/B2.mp3 \
    opt/t/B3.mp3
group() {  # group FRAGMENT FOLDER NAME...: the report lines of one group, ending in "\r\n"
    local fragment=$1 folder=$2 name
    shift 2
    for name in "$@"; do printf '%s\t%s\t0KB\r\n' "$fragment" "$folder/$name"; done
    printf '\r\n'
}
a=$(group A opt/t A1.mp3 A2.mp3; echo .) && a=${a%.}
b=$(group B opt/t B1.mp3 B2.mp3 B3.mp3; echo .) && b=${b%.}
printf 'a\r\n' > "$work/filter-a.txt"
analyzed() {  # analyzed NAME EXPECTED OPTION...: the report, and nothing on standard error
    local name=$1 expected=$2
    shift 2
    out=$("$cli" analyze --report - "$@" opt/s opt/t 2> "$work/err"; echo "status $?")
    check "analyze $name" "${expected}status 0" "$out"
    check "analyze $name: nothing on standard error" "" "$(cat "$work/err")"
}
analyzed default "$a$b$b"
analyzed distinct "$a$b" --distinct
analyzed "max-group 3" "$a$b$b" --max-group 3
analyzed "max-group 2" "$a" --max-group 2
analyzed "max-group 1" "" --max-group 1
analyzed "max-group 0" "" --max-group 0
analyzed "distinct, max-group 2" "$a" --distinct --max-group 2
analyzed "distinct, keywords" "$b" --distinct --keywords "$work/filter-a.txt"

"$cli" analyze --report - --summary --distinct --max-group 2 opt/s opt/t > /dev/null 2> "$work/err"
check "summary" "1 group written, 2 distinct files in them
Left out: 1 repeated group (--distinct), 1 group of more than 2 files (--max-group)
Fragments found in most files, the first candidates for the keyword file:
  3  B
  2  A" "$(cat "$work/err")"
"$cli" analyze --report "$work/r.txt" --summary opt/s opt/t 2> "$work/err"
check "summary of the full report" "3 groups written, 5 distinct files in them" \
    "$(head -n 1 "$work/err")"

# The two-byte rule keeps a fragment from matching at a trail byte: under utf-8 a third name
# holds it too, and its group grows past --max-group 2.
g=$'\xB8\xE8\xCA\xD6'
mkdir -p gbk/s gbk/t
touch "gbk/s/$g-X.mp3" "gbk/s/Y-$g.mp3" "gbk/t/${g}1.mp3" "gbk/t/${g}2.mp3" \
    "gbk/t/"$'\xC8'"$g"$'\xC8'.mp3
gbk_group=$(group "$g" gbk/t "${g}1.mp3" "${g}2.mp3"; echo .) && gbk_group=${gbk_group%.}
gbk_analyzed() {  # gbk_analyzed NAME EXPECTED OPTION...
    local name=$1 expected=$2
    shift 2
    check "$name" "${expected}status 0" \
        "$("$cli" analyze --report - "$@" gbk/s gbk/t; echo "status $?")"
}
gbk_analyzed "gbk, full report" "$gbk_group$gbk_group" --code-page gbk
gbk_analyzed "gbk, distinct, max-group 2" "$gbk_group" --code-page gbk --distinct --max-group 2
gbk_analyzed "utf-8, distinct, max-group 2" "" --code-page utf-8 --distinct --max-group 2
check "utf-8, distinct" "3" \
    "$("$cli" analyze --report - --code-page utf-8 --distinct gbk/s gbk/t | grep -c mp3)"

# On a terminal: the progress, its line cleared at the end, then the summary.
if command -v script > /dev/null; then
    script -qec "'$cli' analyze --report '$work/r.txt' opt/s opt/t" "$work/typescript" > /dev/null
    screen=$(cat "$work/typescript")
    drawn=$'\rCollecting candidates.*\r +\r3 groups written, 5 distinct files in them\r\n'
    [[ $screen =~ $drawn ]] ||
        check "progress and summary on a terminal" "drawn, cleared, summed up" "$screen"
    case $screen in
        *"report written to $work/r.txt"*) ;;
        *) check "report named on a terminal" "its place" "$screen" ;;
    esac
fi

# A fragment of nothing but "?" groups nothing; one that holds more than "?" does.
mkdir q
touch "q/?? - Rain.mp3" "q/? - Sun.mp3" "q/?? - Moon.mp3" "q/A? - x.mp3" "q/A? - y.mp3"
check "fragments of only ?" \
    "$(printf 'A?\t%s\t0KB\r\nA?\t%s\t0KB\r\n\r\n' "q/A? - "{x,y,x,y}.mp3)" \
    "$("$cli" analyze --report - q q)"

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
cd "$other" || exit 1
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
cd "$work" || exit 1

# Usage errors exit 2.
for args in "" "analyze" "analyze one" "search x" "fragments" "bogus" "search --code-page latin1 a b" \
    "analyze --max-group -1 s t" "analyze --max-group x s t" "analyze --max-group 0x10 s t" \
    "analyze --max-group 99999999999999999999999 s t" "analyze --max-group s t"; do
    # shellcheck disable=SC2086
    "$cli" $args > /dev/null 2>&1
    check "usage: '$args'" "2" "$?"
done
help=$("$cli" --help)
check "help" "0" "$?"
version=$("$cli" --version)
check "version status" "0" "$?"
[[ $version =~ ^melodex-cli\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || check "version" "melodex-cli X.Y.Z" "$version"

# The exit statuses of --help are the README's.
statuses=$(awk '/^- Exit status: /{on=1; sub(/^- /, "")} on && /^(- |$)/ && !/Exit status/{on=0} on' "$readme" |
    sed 's/^ *//' | tr -d '`' | tr '\n' ' ' | sed 's/ *$//')
check "help lists the README's exit statuses" "$statuses" "$(printf '%s\n' "$help" | sed -n '/^Exit status:/,$p' | tr '\n' ' ' | sed 's/ *$//')"
for command in analyze search fragments; do
    "$cli" "$command" --help > "$work/help"
    grep -q "^Example: melodex-cli $command " "$work/help" ||
        check "$command --help: an example" "one" "$(cat "$work/help")"
done
"$cli" analyze --help > "$work/help"
for positional in SOURCE TARGET; do
    grep -q "^  $positional REQUIRED" "$work/help" ||
        check "analyze --help: $positional" "named" "$(cat "$work/help")"
done

[ "$failures" = 0 ] && echo "all melodex-cli checks passed"
exit "$failures"
