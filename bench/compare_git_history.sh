#!/bin/bash
# Times busyscope-report --git against git log --format=%at on the same repository, in one run:
# a linear history of 100,000 commits by 50 authors in several UTC offsets, made with git
# fast-import in a temporary folder and removed afterwards. The target is under 2 s in Release.
# Usage: bench/compare_git_history.sh [path/to/busyscope-report] [commits] [rounds]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
report=${1:-$here/../build/release/cli/busyscope-report}
commits=${2:-100000}
rounds=${3:-3}

[ -x "$report" ] || { echo "no busyscope-report at $report (build the target first)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/busyscope-git-XXXXXX")
trap 'rm -rf "$work"' EXIT
repository="$work/repository"
git init -q -b main "$repository"

echo "making $commits commits with git fast-import ..."
awk -v n="$commits" 'BEGIN {
    split("+0900 -0500 +0545 +0000 -0800 +0100", offsets, " ")
    for (i = 1; i <= n; i++) {
        who = sprintf("Author %d <author%d@example.org>", i % 50, i % 50)
        when = sprintf("%d %s", 1400000000 + i * 3037, offsets[i % 6 + 1])
        printf "commit refs/heads/main\nmark :%d\nauthor %s %s\ncommitter %s %s\ndata 5\nwork\n", i, who, when, who, when
        if (i > 1)
            printf "from :%d\n", i - 1
        printf "\n"
    }
}' | git -C "$repository" fast-import --quiet
[ "$(git -C "$repository" rev-list --count HEAD)" -eq "$commits" ]

source "$here/timing.sh"

summary=$("$report" --git "$repository" | head -1)
[ "$summary" = "$commits commits in $repository" ] || { echo "unexpected summary: $summary" >&2; exit 1; }
git_ns=$(best_ns git -C "$repository" log --format=%at)
report_ns=$(best_ns "$report" --git "$repository")
awk -v c="$commits" -v g="$git_ns" -v r="$report_ns" 'BEGIN {
    printf "%d commits: git log --format=%%at %.1f ms, busyscope-report --git %.1f ms, report / git log = %.2f (%s the 2 s target)\n",
        c, g / 1e6, r / 1e6, r / g, r < 2e9 ? "within" : "OVER"
}'
