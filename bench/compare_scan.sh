#!/bin/bash
# Times busyscope-report --format summary against GNU find -printf '%T@\n' in one run, on warm
# trees built in a temporary folder and removed afterwards:
#   1. 1,000,000 files in 1,000 folders (also with 1, 2, 4 and 16 threads, and its peak memory
#      against that of a 1,000-file tree, as bytes per file, for the summary and with the
#      names that --files-at keeps);
#   2. one folder of 300,000 files;
#   3. the peak memory of reading the 1,000,000 times of tree 1 back from a list written by
#      --format times (and from find -printf '%T@ %p\n', paths and all), as bytes per line above that of a
#      1,000-line list, beside the walk's bytes per file.
# Usage: bench/compare_scan.sh [path/to/busyscope-report] [rounds]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
report=${1:-$here/../build/debug/cli/busyscope-report}
rounds=${2:-5}

[ -x "$report" ] || { echo "no busyscope-report at $report (build the target first)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/busyscope-scan-XXXXXX")
trap 'rm -rf "$work"' EXIT

# build_tree DIR FOLDERS FILES_PER_FOLDER: ten top folders holding the folders, each folder's
# files written at one time, the times spread over twenty years.
build_tree() {
    local dir=$1 folders=$2 files=$3
    echo "building $((folders * files)) files in $folders folder(s) under $dir ..."
    local names
    names=$(seq -f 'file%g' 1 "$files")
    for ((i = 0; i < folders; i++)); do
        local sub="$dir/top$((i % 10))/folder$i"
        [ "$folders" -eq 1 ] && sub="$dir/only"
        mkdir -p "$sub"
        (cd "$sub" && echo "$names" | xargs touch -d "@$((946684800 + i * 630720))")
    done
}

source "$here/timing.sh"

# peak_kb COMMAND...: the largest resident set while it ran.
peak_kb() {
    /usr/bin/time -v "$@" 2>&1 > /dev/null | awk -F: '/Maximum resident set size/ { print $2 + 0 }'
}

compare() {
    local label=$1 tree=$2
    local find_ns report_ns
    find_ns=$(best_ns find "$tree" -printf '%T@\n')
    report_ns=$(best_ns "$report" --format summary "$tree")
    awk -v l="$label" -v f="$find_ns" -v r="$report_ns" 'BEGIN {
        printf "%s: find %.1f ms, busyscope-report %.1f ms, find / report = %.2f\n", l, f / 1e6, r / 1e6, f / r
    }'
}

big="$work/big"
build_tree "$big" 1000 1000
compare "1,000,000 files in 1,000 folders" "$big"
one_ns=$(best_ns "$report" --jobs 1 --format summary "$big")
for jobs in 2 4 16; do
    ns=$(best_ns "$report" --jobs "$jobs" --format summary "$big")
    awk -v j="$jobs" -v o="$one_ns" -v n="$ns" 'BEGIN {
        printf "  --jobs %-2d %.1f ms, %.2f times as fast as --jobs 1 (%.1f ms)\n", j, n / 1e6, o / n, o / 1e6
    }'
done

small="$work/small"
build_tree "$small" 10 100
big_kb=$(peak_kb "$report" --format summary "$big")
small_kb=$(peak_kb "$report" --format summary "$small")
awk -v b="$big_kb" -v s="$small_kb" 'BEGIN {
    printf "peak memory: %d kB for 1,000,000 files, %d kB for 1,000: %.1f bytes per file above that\n",
        b, s, (b - s) * 1024 / 999000
}'
# With every file's folder and name kept, as --files-at lists them.
names_big_kb=$(peak_kb "$report" --files-at 00:00 "$big")
names_small_kb=$(peak_kb "$report" --files-at 00:00 "$small")
awk -v b="$names_big_kb" -v s="$names_small_kb" 'BEGIN {
    printf "peak memory with names (--files-at): %.1f bytes per file above the 1,000-file tree\n",
        (b - s) * 1024 / 999000
}'
"$report" --format times "$big" > "$work/big.times"
"$report" --format times "$small" > "$work/small.times"
find "$big" -type f -printf '%T@ %p\n' > "$work/big.find"
list_kb=$(peak_kb "$report" --times-from "$work/big.times")
find_kb=$(peak_kb "$report" --times-from "$work/big.find")
small_list_kb=$(peak_kb "$report" --times-from "$work/small.times")
awk -v b="$list_kb" -v f="$find_kb" -v s="$small_list_kb" -v w="$big_kb" -v ws="$small_kb" 'BEGIN {
    printf "peak memory of --times-from: %.1f bytes per line (%.1f with find paths), %.2f of the walk'"'"'s bytes per file\n",
        (b - s) * 1024 / 999000, (f - s) * 1024 / 999000, (b - s) / (w - ws)
}'
rm -f "$work/big.times" "$work/small.times" "$work/big.find"
rm -rf "$big"

wide="$work/wide"
build_tree "$wide" 1 300000
compare "one folder of 300,000 files" "$wide"
