#!/usr/bin/env bash
# Runs every fuzz target for the given seconds over a copy of its committed seed corpus.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-30}
cd "$(dirname "$0")/.."
for fuzzer in "$build"/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  work=$(mktemp -d)
  [ -d "fuzz/corpus/$name" ] && cp -r "fuzz/corpus/$name/." "$work/"
  echo "== $name for ${seconds}s"
  (cd "$work" && "$OLDPWD/$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$work" \
     2>&1 | tail -n 8)
  rm -rf "$work"
done
