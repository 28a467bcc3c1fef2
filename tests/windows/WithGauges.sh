#!/usr/bin/env bash
# Runs a command under Wine with virtual gauges on COM ports: each gauge serves a
# pseudo-terminal that Wine maps as a COM port, as a gauge on a USB adapter would appear.
# Usage: WithGauges.sh GAUGE_PROGRAM [--gauge COMn 'gauge options']... -- COMMAND...
# The command sees, for each gauge, KESTRAN_GAUGE_COMn_OUT: the gauge's output folder as a
# Windows path. WINEPREFIX must name the prefix; its Wine server is restarted to take the
# ports, so nothing else may run in that prefix meanwhile.
set -euo pipefail

gauge_program=$1
shift
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix}"

work=$(mktemp -d)
pids=()
ports=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    for port in "${ports[@]}"; do
        wine reg delete 'HKLM\Software\Wine\Ports' /v "$port" /f >/dev/null 2>&1 || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

declare -A pty_of
while [ $# -gt 0 ] && [ "$1" = --gauge ]; do
    port=$2
    read -r -a options <<<"$3"
    shift 3
    out=$work/out-$port
    "$gauge_program" --out "$out" "${options[@]}" >"$work/$port.port" 2>"$work/$port.log" &
    pids+=($!)
    for _ in $(seq 100); do
        [ -s "$work/$port.port" ] && break
        sleep 0.05
    done
    pty=$(head -n 1 "$work/$port.port")
    if [ -z "$pty" ]; then
        echo "the gauge for $port did not start:" >&2
        cat "$work/$port.log" >&2
        exit 1
    fi
    pty_of[$port]=$pty
    ports+=("$port")
    wine reg add 'HKLM\Software\Wine\Ports' /v "$port" /t REG_SZ /d "$pty" /f >/dev/null
    mkdir -p "$out"
    export "KESTRAN_GAUGE_${port}_OUT=$(winepath -w "$out")"
done
[ "${1:-}" = -- ] && shift

# The server reads the port mappings as it starts, and remakes each device link a moment
# after the first program of the prefix starts.
wineserver -k || true
wineserver -w
wine cmd /c exit >/dev/null 2>&1 || true
for port in "${ports[@]}"; do
    link=$WINEPREFIX/dosdevices/${port,,}
    for _ in $(seq 200); do
        [ "$(readlink "$link" 2>/dev/null)" = "${pty_of[$port]}" ] && break
        sleep 0.05
    done
    if [ "$(readlink "$link" 2>/dev/null)" != "${pty_of[$port]}" ]; then
        echo "Wine did not map $port to ${pty_of[$port]}" >&2
        exit 1
    fi
done

rc=0
"$@" || rc=$?
if [ $rc -ne 0 ]; then
    for port in "${ports[@]}"; do
        echo "--- gauge on $port:" >&2
        tail -n 30 "$work/$port.log" >&2
    done
fi
exit $rc
