# Timing helpers shared by the comparison scripts; `rounds` is set by the script that sources this.

now_ns() { date +%s%N; }

# best_ns COMMAND...: the best wall time of the rounds, in nanoseconds, after one warming run.
best_ns() {
    "$@" > /dev/null
    local best="" start took
    for ((r = 0; r < rounds; r++)); do
        start=$(now_ns)
        "$@" > /dev/null
        took=$(($(now_ns) - start))
        if [ -z "$best" ] || [ "$took" -lt "$best" ]; then best=$took; fi
    done
    echo "$best"
}
