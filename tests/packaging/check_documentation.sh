#!/usr/bin/env bash
# Checks that each program's --help and its manual page list the same options with the same
# values, that the pages render without warnings, and that the bash completion of
# busyscope-report offers exactly the options of its --help and the values of --view, --format and --count.
#
#   check_documentation.sh BUSYSCOPE_REPORT BUSYSCOPE MAN_DIR COMPLETION
set -euo pipefail
report=$1 gui=$2 man_dir=$3 completion=$4
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}

# "--option VALUE" of each line of the option table in --help, without a short form before it.
help_options() {
    "$1" --help | sed -n 's/^  \(-[A-Za-z0-9], \|    \)\?\(--[^ ]*\( [^ ]\+\)\?\)  .*$/\2/p'
}

# The same from the OPTIONS section of a rendered page: the tag lines, without the description
# that follows a short tag on its line.
page_options() {
    local warnings
    warnings=$(mktemp)
    LC_ALL=C MANWIDTH=200 man --warnings -l "$1" 2>"$warnings" |
        awk '/^OPTIONS/ { inside = 1; next } /^[A-Z]/ { inside = 0 }
             inside && /^       (-[A-Za-z0-9], )?--/ { sub(/^ +(-[A-Za-z0-9], )?/, ""); print }' |
        sed 's/ \+[A-Z][a-z].*$//'
    if [ -s "$warnings" ]; then
        fail "$1 renders with warnings: $(cat "$warnings")"
    fi
    rm -f "$warnings"
}

for pair in "$report:busyscope-report" "$gui:busyscope"; do
    program=${pair%%:*} name=${pair##*:}
    page="$man_dir/$name.1.gz"
    [ -f "$page" ] || { fail "no manual page $page"; continue; }
    if ! diff <(help_options "$program") <(page_options "$page") >&2; then
        fail "$name --help (<) and $name(1) (>) differ"
    fi
    [ "$(help_options "$program" | wc -l)" -gt 1 ] || fail "no options found in $name --help"
done

# Completes the words given, the last being the one under the cursor; prints the candidates sorted.
complete_words() {
    bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$1"
        shift
        COMP_WORDS=(busyscope-report "$@")
        COMP_CWORD=$#
        COMP_LINE="${COMP_WORDS[*]}"
        COMP_POINT=${#COMP_LINE}
        _busyscope_report busyscope-report "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
        printf "%s\n" "${COMPREPLY[@]}" | sort' _ "$completion" "$@"
}

# The values a --help line gives for an option as "a|b|c", one a line, sorted.
help_values() {
    help_options "$report" | sed -n "s/^$1 //p" | tr '|' '\n' | sort
}

diff <(help_options "$report" | cut -d' ' -f1 | sort) <(complete_words --) >&2 ||
    fail "the completion's options (>) differ from --help (<)"
for option in --view --format --count; do
    diff <(help_values $option) <(complete_words $option "") >&2 ||
        fail "the completion's values of $option (>) differ from --help (<)"
done
[ "$(complete_words --format=c)" = "csv" ] || fail "--format=c does not complete to csv"
[ "$(complete_words --vi)" = "--view" ] || fail "--vi does not complete to --view"
exit $status
