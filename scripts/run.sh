#!/usr/bin/env bash
# Installs what is missing, builds the program and the collection, and starts it in the folder
# that holds kelvora.mdb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake --preset release -DKELVORA_BENCH=OFF -DKELVORA_TESTS=OFF
cmake --build build/release -j"$(nproc)" --target kelvora kelvora_mdb
cd build/release
exec ./shell/kelvora
