# Sourced by the build scripts: `timed NAME COMMAND...` runs a step under a heading and
# keeps its time in `timings`, for a summary at the end.
timings=()
timed() {
    local name=$1
    shift
    local from=$SECONDS
    echo
    echo "=== $name"
    local rc=0
    "$@" || rc=$?
    timings+=("$(printf '%-34s %4ds' "$name" $((SECONDS - from)))")
    return $rc
}
