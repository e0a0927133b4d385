#!/bin/bash
# Times busyscope-report --format summary against GNU find -printf '%T@\n' on the same warm
# tree of 300,000 files in 1,000 folders, built in a temporary folder, in one run.
# Usage: bench/compare_scan.sh [path/to/busyscope-report] [rounds]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
report=${1:-$here/../build/core/cli/busyscope-report}
rounds=${2:-5}
folders=1000
files_per_folder=300

[ -x "$report" ] || { echo "no busyscope-report at $report (build the target first)" >&2; exit 1; }

tree=$(mktemp -d "${TMPDIR:-/tmp}/busyscope-scan-XXXXXX")
trap 'rm -rf "$tree"' EXIT

echo "building $((folders * files_per_folder)) files in $folders folders under $tree ..."
names=$(seq -f 'file%g' 1 "$files_per_folder")
for ((i = 0; i < folders; i++)); do
    # Ten top folders with a hundred folders each, times spread over twenty years.
    dir="$tree/top$((i % 10))/folder$i"
    mkdir -p "$dir"
    (cd "$dir" && echo "$names" | xargs touch -d "@$((946684800 + i * 630720))")
done

now_ns() { date +%s%N; }

# Best of several rounds, each program run alternately, after one warming run of each.
best_find=""
best_report=""
find "$tree" -printf '%T@\n' > /dev/null
"$report" --format summary "$tree" > /dev/null
for ((r = 0; r < rounds; r++)); do
    start=$(now_ns)
    find "$tree" -printf '%T@\n' > /dev/null
    took=$(($(now_ns) - start))
    if [ -z "$best_find" ] || [ "$took" -lt "$best_find" ]; then best_find=$took; fi

    start=$(now_ns)
    "$report" --format summary "$tree" > /dev/null
    took=$(($(now_ns) - start))
    if [ -z "$best_report" ] || [ "$took" -lt "$best_report" ]; then best_report=$took; fi
done

"$report" --format summary "$tree" | head -1
awk -v f="$best_find" -v r="$best_report" 'BEGIN {
    printf "find -printf %%T@:              %8.1f ms (best of rounds)\n", f / 1e6
    printf "busyscope-report --format summary: %8.1f ms (best of rounds)\n", r / 1e6
    printf "ratio find / busyscope-report:  %8.2f (above 1: the report is faster)\n", f / r
}'
