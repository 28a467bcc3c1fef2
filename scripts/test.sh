#!/usr/bin/env bash
# Sets up, builds and runs every test of Kestran.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh gui
cmake --preset default
cmake --build --preset default -j"$(nproc)"
ctest --preset default -j"$(nproc)"
