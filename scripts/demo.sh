#!/usr/bin/env bash
# The main job: builds Qor and runs qor-render on the bundled demo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target qor-render
./build/apps/qor-render/qor-render "$@"
