#!/usr/bin/env bash
# Sets up, builds and starts Kestran, with a virtual gauge beside it so that an upload can
# be tried without hardware: pick "Kestran virtual gauge" in the port list, Connect,
# choose the dials in examples/dials/ and press Update. What the gauge received is
# written to kestran-gauge-out/. Set KESTRAN_NO_GAUGE=1 to start Kestran alone.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh gui
cmake --preset default
cmake --build --preset default -j"$(nproc)"

gauge_pid=""
stop_gauge() {
    if [ -n "$gauge_pid" ]; then
        kill "$gauge_pid" 2>/dev/null || true
        wait "$gauge_pid" 2>/dev/null || true
    fi
}
trap stop_gauge EXIT

if [ "${KESTRAN_NO_GAUGE:-0}" != 1 ]; then
    # The gauge registers itself before it prints its port, so Kestran's start-up search
    # finds it once the first line is there.
    port_file=$(mktemp)
    build/tools/kestran-gauge/kestran-gauge --name "beside Kestran" --wire-time \
        --out kestran-gauge-out > "$port_file" &
    gauge_pid=$!
    for _ in $(seq 100); do
        [ -s "$port_file" ] && break
        sleep 0.05
    done
    echo "Virtual gauge on $(head -n 1 "$port_file"); what it receives goes to kestran-gauge-out/" >&2
    rm -f "$port_file"
fi

build/src/app/qt/kestran "$@"
