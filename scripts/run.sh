#!/usr/bin/env bash
# Sets up, builds and starts Kestran.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh gui
cmake -S . -B build
cmake --build build -j"$(nproc)"
if [ -x build/src/app/kestran ]; then
    exec build/src/app/kestran "$@"
fi
echo "The desktop window is not built yet; the tests can be run with: bash scripts/test.sh" >&2
exit 1
