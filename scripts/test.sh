#!/usr/bin/env bash
# Sets up, builds and runs every test of Kestran.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh gui
cmake -S . -B build -DKESTRAN_WERROR=ON
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
