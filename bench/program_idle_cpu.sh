#!/usr/bin/env bash
# CPU share of the idle headless program serving slot 1 (register read, no job waiting),
# against ecrsim in its own process, in fast mode and in slow mode with a 1 s poll.
#
#   bench/program_idle_cpu.sh BUILD_DIR [SECONDS]     (default 60 s per mode)
set -euo pipefail

build=${1:?usage: program_idle_cpu.sh BUILD_DIR [SECONDS]}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)

measure() {
    local mode=$1
    (
        # shellcheck source=bench/program_rig.sh
        source "$here/program_rig.sh"
        rig_start "$build" "$mode"
        local hz before after
        hz=$(getconf CLK_TCK)
        before=$(rig_cpu_ticks)
        sleep "$seconds"
        after=$(rig_cpu_ticks)
        awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v m="$mode" \
            'BEGIN { printf "%s mode: %d ticks in %d s = %.3f%% of one core\n", m, t, s, 100 * t / hz / s }'
    )
}

measure fast
measure slow
