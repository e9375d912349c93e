#!/usr/bin/env bash
# Resident memory of the headless program in fast mode while it serves jobs. The program and
# the simulated register run as two processes, so only the program's own memory is counted.
#
#   bench/program_memory.sh [--in-process] BUILD_DIR [CHECKPOINT...]
#
# --in-process measures the program with its --demo simulator inside instead (the simulator's
# memory then counts too).
# Prints VmRSS (kB) after the register read and after each checkpoint count of jobs
# (default 100 1000 3000), then the growth per job between the first and the last checkpoint.
set -euo pipefail

where=
if [ "${1:-}" = --in-process ]; then
    where=in-process
    shift
fi
build=${1:?usage: program_memory.sh [--in-process] BUILD_DIR [CHECKPOINT...]}
shift
checkpoints=("$@")
[ ${#checkpoints[@]} -gt 0 ] || checkpoints=(100 1000 3000)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/program_rig.sh
source "$here/program_rig.sh"

rig_start "$build" fast $where
echo "after the register read: $(rig_rss_kb) kB"

done_jobs=0
declare -a rss_at
for checkpoint in "${checkpoints[@]}"; do
    while [ "$done_jobs" -lt "$checkpoint" ]; do
        rig_job
        done_jobs=$((done_jobs + 1))
    done
    rss_at[checkpoint]=$(rig_rss_kb)
    echo "after $checkpoint jobs: ${rss_at[$checkpoint]} kB (failed jobs so far: $rig_failures)"
done

first=${checkpoints[0]}
last=${checkpoints[${#checkpoints[@]} - 1]}
if [ "$last" -gt "$first" ]; then
    awk -v a="${rss_at[$first]}" -v b="${rss_at[$last]}" -v from="$first" -v to="$last" \
        'BEGIN { printf "growth from job %d to job %d: %.3f kB per job\n", from, to, (b - a) / (to - from) }'
fi
