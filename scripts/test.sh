#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test:
#   1. the full build (program, simulator, unit, UI and end-to-end tests) and the Debian
#      package (its first test builds it; the others unpack it and run its program),
#   2. the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
#   3. a short libFuzzer smoke run of the converter's inputs,
#   4. the Windows build (mingw-w64 cross build) and its unit tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j"$jobs" --timeout 600)

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZELMAR_SANITIZE=ON -DZELMAR_WITH_QT=OFF -DZELMAR_BENCH=OFF
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest --output-on-failure -j"$jobs" -L unit --timeout 600)

CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELMAR_FUZZ=ON \
  -DZELMAR_SANITIZE=ON -DZELMAR_WITH_QT=OFF -DZELMAR_BENCH=OFF
cmake --build build-fuzz -j"$jobs" --target fuzz_targets
bash scripts/fuzz-smoke.sh build-fuzz 30

bash scripts/build-windows.sh
