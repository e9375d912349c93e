#!/usr/bin/env bash
# Installs the dependencies, builds the program and starts it in demo mode: the built-in
# register simulator stands in for the register, the data folder is ./demo-data.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target zelmar1 ecrsim
mkdir -p demo-data
exec build/src/zelmar1 --demo --data-dir "$PWD/demo-data" "$@"
