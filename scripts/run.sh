#!/usr/bin/env bash
# Installs the dependencies, builds the program and starts it.
#   bash scripts/run.sh                  demo: the built-in register simulator serves slot 1
#   bash scripts/run.sh --port 1=DEVICE  a real register on DEVICE (any other zelmar1 options too)
# The data folder is ./demo-data unless --data-dir is given.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target zelmar1 ecrsim
mkdir -p demo-data
options=("$@")
[ ${#options[@]} -eq 0 ] && options=(--demo)
case " ${options[*]} " in *" --data-dir "*) ;; *) options+=(--data-dir "$PWD/demo-data") ;; esac
exec build/src/zelmar1 "${options[@]}"
