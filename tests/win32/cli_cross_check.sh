#!/usr/bin/env bash
# melodex-cli for Windows, under wine in code page 936, against the Linux build on the same tree
# of GBK names: analyze, search and fragments must print the same bytes, with "\" where Linux
# has "/".
#   cli_cross_check.sh LINUX_CLI WINDOWS_CLI WINE_STATE_DIR
# On Linux the names are GBK bytes on disk (read with --code-page gbk); under wine they are made
# by wine from code page 936. In every folder the names are chosen to list in the same order on
# both: Linux sorts by byte value, wine by the names' upper-cased UTF-16 text.
set -euo pipefail

linux_cli=$(realpath "$1")
windows_cli=$(realpath "$2")
wine_state=$(realpath -m "$3")
wine_run=$(realpath "$(dirname "$0")/../../scripts/lib/wine-run")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/linux/lib" "$work/windows/lib"

# Relative paths in UTF-8, with sizes; a trailing "/" makes a folder.
deep="zz/$(printf 'a%.0s' {1..100})/$(printf 'b%.0s' {1..100})/$(printf 'c%.0s' {1..100})"
deeper=$(printf 'd%.0s' {1..100})
tree=(
    "Jay Chou - 七里香.mp3 0" "Jay Chou - 晴天 (Live).mp3 5000000" "Notes.txt 10"
    "七里香.mp3 3000" "丂 - 晴天.mp3 0"
    "周杰伦/ 0" "周杰伦/周杰伦 - 七里香 (Live).mp3 2048" "周杰伦/周杰伦 - 七里香.mp3 1048576"
    "周杰伦/周杰伦 - 晴天.mp3 0" "周杰伦/周杰伦_晴天（现场）.mp3 0"
    "Faye Wong/ 0" "Faye Wong/王菲 - 红豆.mp3 0" "Faye Wong/王菲-传奇.mp3 0"
    ".cache/ 0" ".cache/周杰伦 - 晴天.mp3 0"
    "Various/ 0" "Various/Faye Wong - Red Bean.mp3 0" "Various/Jay Chou - Qing Tian.MP3 0"
    "Various/七里香 (Cover).mp3 0"
    # Paths past 260 characters, which only the wide calls with long-path prefixes reach.
    "$deep/ 0" "$deep/周杰伦 - 晴天 (深).mp3 4096" "$deep/$deeper/ 0" "$deep/$deeper/Deep - 七里香.mp3 0"
)
gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }
for entry in "${tree[@]}"; do
    path=${entry% *}
    size=${entry##* }
    for side in linux windows; do
        name=$path
        [ "$side" = linux ] && name=$(gbk "$path")
        if [[ $path == */ ]]; then
            mkdir -p "$work/$side/lib/$name"
        else
            truncate -s "$size" "$work/$side/lib/$name"
        fi
    done
done
gbk $'Live\r\n现场\r\n' > "$work/keywords.txt"

failures=0
# Runs one command on both sides and compares the output. Linux is told the names are GBK and
# gets its arguments in GBK; wine gets them in UTF-8 and hands them over in code page 936.
compare() {
    local label=$1
    shift
    local linux_arguments=("$1" --code-page gbk) windows_arguments=("$1") argument
    shift
    for argument in "$@"; do
        linux_arguments+=("$(gbk "$argument")")
        windows_arguments+=("${argument//\//\\}")
    done
    (cd "$work/linux" && "$linux_cli" "${linux_arguments[@]}") | tr '/' '\\' > "$work/linux.out"
    (cd "$work/windows" && "$wine_run" "$wine_state" "$windows_cli" "${windows_arguments[@]}") \
        > "$work/windows.out"
    if cmp -s "$work/linux.out" "$work/windows.out" && [ -s "$work/linux.out" ]; then
        echo "same: $label ($(wc -l < "$work/linux.out") lines)"
    else
        echo "DIFFERENT: $label"
        diff <(iconv -f GBK -t UTF-8 "$work/linux.out") <(iconv -f GBK -t UTF-8 "$work/windows.out") |
            head -20 || true
        failures=$((failures + 1))
    fi
}

compare "analyze" analyze --keywords ../keywords.txt --report - lib lib
compare "analyze --distinct --max-group 4" analyze --distinct --max-group 4 --keywords ../keywords.txt \
    --report - lib lib
compare "analyze --suffix MP3" analyze --suffix MP3 --keywords ../keywords.txt --report - lib lib/周杰伦
compare "search 晴天" search 晴天 lib
compare "search everything" search "" lib
compare "search Live" search Live lib/
compare "search in a long folder" search 晴天 "lib/$deep"
compare "fragments" fragments "lib/周杰伦/周杰伦 - 七里香 (Live).mp3" "lib/王菲-传奇.mp3" "lib/丂 - 晴天.mp3"
compare "fragments --display" fragments --display "lib/周杰伦/周杰伦_晴天（现场）.mp3" "lib/A-B-C-D-E.mp3"

[ "$failures" -eq 0 ] || { echo "$failures of the outputs differ" >&2; exit 1; }
