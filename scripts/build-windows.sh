#!/usr/bin/env bash
# Cross-builds the Windows side (mingw-w64, cmake/mingw-w64-x86_64.cmake) in build-windows/ and
# runs its tests under Wine; no display is needed. The end-to-end and installer tests also need
# the Linux build in build/ (its end-to-end tests and ecrsim drive zelmar1.exe): scripts/test.sh
# makes that first. Extra arguments go to the configure step
# (e.g. -DCMAKE_BUILD_TYPE=Debug). scripts/install-deps.sh installs the tools.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake "$@"
cmake --build build-windows -j2
ctest --test-dir build-windows --output-on-failure -j2 --timeout 600
