# shellcheck shell=bash
# Shared by the program benchmarks: the headless program serving slot 1 against ecrsim on a
# pseudo-terminal, each in its own process, in a scratch folder removed at exit.
#
#   rig_start BUILD_DIR fast|slow [in-process]
#                                   starts both and waits for the register read; in-process:
#                                   the program's --demo simulator instead of ecrsim
#   rig_job                         one receipt job, waits for its end
#   ZELMAR_BENCH_WRAPPER            runs the program under a command (e.g. valgrind --tool=massif)
#   rig_pid / rig_rss_kb / rig_cpu_ticks   the program's process id, VmRSS, utime+stime

rig_failures=0
rig_scratch=$(mktemp -d /tmp/zelmar_bench.XXXXXX)
rig_sim_pid=
rig_program_pid=

rig_stop() {
    if [ -n "$rig_program_pid" ]; then
        kill "$rig_program_pid" 2>/dev/null || true
        wait "$rig_program_pid" 2>/dev/null || true
    fi
    if [ -n "$rig_sim_pid" ]; then
        kill "$rig_sim_pid" 2>/dev/null || true
        wait "$rig_sim_pid" 2>/dev/null || true
    fi
    rm -rf "$rig_scratch"
}
trap rig_stop EXIT

# Starts ecrsim; rig_device is its serial device.
rig_start_simulator() {
    mkfifo "$rig_scratch/sim_out"
    "$1/sim/ecrsim" >"$rig_scratch/sim_out" &
    rig_sim_pid=$!
    local line
    rig_device=
    while read -r line; do
        case $line in
            "SERIAL "*) rig_device=${line#SERIAL } ;;
            READY) break ;;
        esac
    done <"$rig_scratch/sim_out"
    exec 3<"$rig_scratch/sim_out"  # keep the pipe open so ecrsim never blocks on it
    [ -n "$rig_device" ] || { echo "ecrsim gave no serial device" >&2; exit 1; }
}

# Waits up to $1 seconds for the command in the remaining arguments to succeed.
rig_wait() {
    local budget=$1
    shift
    local deadline=$((SECONDS + budget))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.002
    done
}

rig_start() {
    local build=$1 mode=$2 where=${3:-}
    local program_dir=$rig_scratch/program data_dir=$rig_scratch/data
    mkdir -p "$program_dir" "$data_dir"
    rig_data=$data_dir

    local -a ports=(--port "2=$rig_scratch/none" --port "3=$rig_scratch/none"
        --port "4=$rig_scratch/none")
    if [ "$where" = in-process ]; then
        ports+=(--demo)  # the program's own simulator serves slot 1
    else
        rig_start_simulator "$build"
        ports+=(--port "1=$rig_device")
    fi

    # Slot 1 only; fast ("F") or slow ("S") mode on line 14; a 1 s poll.
    printf '1000\r\n' >"$program_dir/ZMCHKCOM.TXT"
    printf '115200\r\n' >"$program_dir/ZMChkBd.txt"
    printf '1\r\n' >"$program_dir/ZMTIMER1.TXT"
    local flag=S
    [ "$mode" = fast ] && flag=F
    printf '0\r\n0\r\n0\r\n0\r\n \r\n 1 \r\nS\r\n9101\r\n0\r\n0\r\n0\r\n0\r\n0\r\n%s\r\n0\r\n' \
        "$flag" >"$program_dir/ZMCHKSCO.TXT"

    # shellcheck disable=SC2086  # a wrapper such as "valgrind --tool=massif" has words
    ${ZELMAR_BENCH_WRAPPER:-} "$build/src/zelmar1" --headless --program-dir "$program_dir" --data-dir "$data_dir" \
        "${ports[@]}" >"$rig_scratch/program.log" 2>&1 &
    rig_program_pid=$!
    if ! rig_wait 30 test -e "$data_dir/SR_MATR.001"; then
        echo "the program did not read the register:" >&2
        cat "$rig_scratch/program.log" >&2
        exit 1
    fi
    sleep 1.5  # the port-close tick after the read
}

rig_job() {
    rm -f "$rig_data/FINESCO.001" "$rig_data/SR_ERR.001"
    printf 'SALE,N1,P100,:PANE;\r\nPAYM;\r\n' >"$rig_data/SR_DATI.001"
    printf '00000000\r\n' >"$rig_data/SR_START.001"
    if ! rig_wait 30 rig_job_ended; then
        echo "a job did not end" >&2
        exit 1
    fi
    [ -e "$rig_data/FINESCO.001" ] || rig_failures=$((rig_failures + 1))
}

rig_job_ended() {
    [ ! -e "$rig_data/SR_START.001" ] &&
        { [ -e "$rig_data/FINESCO.001" ] || [ -e "$rig_data/SR_ERR.001" ]; }
}

rig_pid() { echo "$rig_program_pid"; }

rig_rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$rig_program_pid/status"; }

# User plus system time of the program, in clock ticks.
rig_cpu_ticks() {
    # Fields after the command name (which may hold blanks): utime is 14th, stime 15th overall.
    local stat
    stat=$(<"/proc/$rig_program_pid/stat")
    stat=${stat##*) }
    awk '{ print $12 + $13 }' <<<"$stat"
}
