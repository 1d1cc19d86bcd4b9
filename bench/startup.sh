#!/usr/bin/env bash
# Start-up, memory and idle CPU of one or more programs, side by side under one Xvfb.
#
#   bench/startup.sh [--runs N] [--idle SECONDS] [--settle SECONDS] [--pulse] [--a11y]
#                    [--probe PATH] [--tool PATH] [--check] CMD...
#
# Each CMD (one argument, split at spaces; it may begin with "env VAR=value ...") is started
# once to warm up and then N times (default 5), the programs taking turns so that drift hits
# them alike. Every start gets a
# fresh XDG_CONFIG_HOME and XDG_RUNTIME_DIR and SDL_AUDIODRIVER=dummy. For each run the probe
# (bench/map_probe.cpp) reports the time from exec to the first mapped window, VmRSS 2 s
# after the map, and utime+stime over the next SECONDS (default 10) as a share of one core,
# for the program and for the X server. The medians are printed as a table, with the ratio of
# every program to the last one (the peer).
#
# A CMD whose program is named "travoli" gets a settings hive that already holds a language
# (written with travoli-tool), so only the info dialog opens at start and the marquee runs
# behind it. With --pulse every program plays through a private PulseAudio server with a null
# sink (SDL_AUDIODRIVER=pulseaudio) instead of SDL's dummy driver, and the server's CPU is
# printed after the table. A travoli CMD with TRAVOLI_PLAY=sounds among its env settings gets
# its info dialog answered right after the map and then five presses on the board (four moves
# and a refused press, each with its sound); with TRAVOLI_PLAY=quiet five presses beside the
# board instead (no sound). Give those a --settle (default 2 s: the wait after the map before
# the idle window) long enough for the game to let its sound device go. With --a11y everything
# runs on a private session bus with the accessibility bus and a listener that subscribes to
# every object, window and focus event, as a screen reader does; a CMD with
# QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 among its env settings then has Qt's bridge on, one
# without it has it off, and the events the listener heard are printed after the table. --check exits 1 when the first CMD misses the budgets against the last one:
# map time <= 0.6 x, resident memory <= 0.5 x, idle CPU < 0.5 % of one core.
set -euo pipefail
arguments=("$@")

# The program of a command line, behind a leading "env" and its VAR=value settings.
program_of() {
    local word
    for word in "$@"; do
        [[ $word == env || $word == *=* ]] || { echo "$word"; return; }
    done
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
source "$root/tests/ui/processes.sh"
runs=5
idle=10
settle=2
pulse=0
a11y=0
probe=${TRAVOLI_MAP_PROBE:-}
tool=
check=0
commands=()
while (($#)); do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --idle) idle=$2; shift 2 ;;
        --settle) settle=$2; shift 2 ;;
        --pulse) pulse=1; shift ;;
        --a11y) a11y=1; shift ;;
        --probe) probe=$2; shift 2 ;;
        --tool) tool=$2; shift 2 ;;
        --check) check=1; shift ;;
        --help | -h) sed -n '2,/^set -euo/p' "${BASH_SOURCE[0]}" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
        --*) echo "startup.sh: unknown option $1" >&2; exit 2 ;;
        *) commands+=("$1"); shift ;;
    esac
done
if ((${#commands[@]} == 0)); then
    echo "usage: startup.sh [--runs N] [--idle SECONDS] [--probe PATH] [--tool PATH] [--check] CMD..." >&2
    exit 2
fi
if ! [[ $runs =~ ^[1-9][0-9]*$ ]]; then
    echo "startup.sh: --runs needs a positive whole number, not '$runs'" >&2
    exit 2
fi
for cmd in "${commands[@]}"; do
    read -r -a words <<<"$cmd"
    program=$(program_of "${words[@]}")
    if [[ -z $program ]] || ! command -v "$program" >/dev/null; then
        echo "startup.sh: cannot find the program of '$cmd'" >&2
        exit 2
    fi
done

if ((a11y)) && [[ -z ${TRAVOLI_BENCH_BUS:-} ]]; then
    # A session bus of our own, gone when the script ends.
    TRAVOLI_BENCH_BUS=1 exec dbus-run-session -- "${BASH_SOURCE[0]}" "${arguments[@]}"
fi

work=$(mktemp -d /tmp/travoli-startup.XXXXXX)
xvfb_pid=
pulse_pid=
a11y_bus_pid=
listener_pid=
cleanup() {
    end_processes "$listener_pid" "$a11y_bus_pid" "$pulse_pid" "$xvfb_pid"
    for pid in $listener_pid $a11y_bus_pid $pulse_pid $xvfb_pid; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# The probe: given, built in one of our build trees, or compiled here from its source.
if [[ -z $probe ]]; then
    for candidate in "$root"/build-bench/bench/travoli-map-probe "$root"/build/bench/travoli-map-probe; do
        if [[ -x $candidate && $candidate -nt $here/map_probe.cpp ]]; then
            probe=$candidate
            break
        fi
    done
fi
if [[ -z $probe ]]; then
    probe=$work/map_probe
    c++ -std=c++20 -O2 -o "$probe" "$here/map_probe.cpp" -lxcb
fi

# travoli-tool, to write the language into the game's fresh hive.
find_tool() {
    local game=$1
    if [[ -n $tool ]]; then
        echo "$tool"
        return
    fi
    local dir
    dir=$(dirname "$(command -v "$game")")
    for candidate in "$dir/../tools/travoli-tool" "$dir/travoli-tool"; do
        if [[ -x $candidate ]]; then
            echo "$candidate"
            return
        fi
    done
}

# One Xvfb for all runs; -displayfd tells us the display it took.
: >"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.05
done
if ! [[ -s $work/display ]]; then
    echo "startup.sh: Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
display=:$(tr -d '\n' <"$work/display")

# A sound server of our own, with a null sink that every program plays into.
audio=(SDL_AUDIODRIVER=dummy)
if ((pulse)); then
    mkdir -p "$work/pulse-home" "$work/pulse-runtime/pulse"
    chmod 700 "$work/pulse-runtime"
    socket=$work/pulse-runtime/pulse/native
    HOME=$work/pulse-home XDG_RUNTIME_DIR=$work/pulse-runtime PULSE_RUNTIME_PATH=$work/pulse-runtime/pulse \
        pulseaudio --daemonize=no --exit-idle-time=-1 -n --disallow-exit --use-pid-file=no \
        -L "module-null-sink sink_name=bench rate=44100 channels=2" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$socket" \
        -L module-always-sink -L module-suspend-on-idle >"$work/pulse.log" 2>&1 &
    pulse_pid=$!
    for _ in $(seq 100); do PULSE_SERVER=unix:$socket pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    if ! PULSE_SERVER=unix:$socket pactl info >/dev/null 2>&1; then
        echo "startup.sh: the sound server did not start:" >&2
        cat "$work/pulse.log" >&2
        exit 1
    fi
    audio=(SDL_AUDIODRIVER=pulseaudio "PULSE_SERVER=unix:$socket")
    pulse_ticks_start=$(awk '{ print $14 + $15 }' "/proc/$pulse_pid/stat")
    pulse_clock_start=$(date +%s.%N)
fi

# The accessibility bus, and a listener standing in for a screen reader.
if ((a11y)); then
    start_accessibility_bus "$work/bus.log" || exit 1
    /usr/bin/python3 -c '
import signal, sys, collections, pyatspi
heard = collections.Counter()
def count(event):
    heard[event.type] += 1
def report(*_):
    with open(sys.argv[1], "w") as out:
        for kind, n in sorted(heard.items()):
            out.write("%s x%d\n" % (kind, n))
    sys.exit(0)
signal.signal(signal.SIGTERM, report)
pyatspi.Registry.registerEventListener(count, "object", "window", "focus")
open(sys.argv[1], "w").close()
pyatspi.Registry.start()
' "$work/a11y-events" &
    listener_pid=$!
    for _ in $(seq 100); do [[ -e $work/a11y-events ]] && break; sleep 0.1; done
    [[ -e $work/a11y-events ]] || { echo "startup.sh: the accessibility listener did not start" >&2; exit 1; }
fi

# play MODE: while the probe waits out its settle time, answer the game's info dialog and
# press five times on the board (sounds) or beside it (quiet).
play() {
    local mode=$1 info main place
    for _ in $(seq 100); do
        info=$(DISPLAY=$display xdotool search --onlyvisible --name '^Zanfir Bytes - Freeware-Info$' 2>/dev/null | head -n1 || true)
        [[ -n $info ]] && break
        sleep 0.05
    done
    [[ -n $info ]] || return 0
    DISPLAY=$display xdotool windowfocus --sync "$info" key Return
    sleep 0.3
    main=$(DISPLAY=$display xdotool search --onlyvisible --name '^Travoli - level' | head -n1)
    for place in "167 122" "89 122" "89 201" "167 201" "89 122"; do
        [[ $mode == sounds ]] || place="20 200"
        DISPLAY=$display xdotool mousemove --window "$main" $place click 1
        sleep 0.3
    done
    if ((pulse)); then
        local streams
        streams=$(PULSE_SERVER=unix:$socket pactl list short sink-inputs | wc -l)
        echo "TRAVOLI_PLAY=$mode: $streams stream(s) on the sound server right after the presses" >>"$work/notes"
        sleep "$(awk -v s="$settle" 'BEGIN { print (s > 3 ? s - 3 : 0) }')"
        streams=$(PULSE_SERVER=unix:$socket pactl list sink-inputs | grep -c 'Corked: no' || true)
        echo "TRAVOLI_PLAY=$mode: $streams running stream(s) as the idle window began" >>"$work/notes"
    fi
}

# run_one INDEX LABEL CMD: one measured start; prints the probe's line.
run_one() {
    local index=$1 label=$2 cmd=$3
    local dir=$work/run-$label-$index
    mkdir -p "$dir/config" "$dir/runtime"
    chmod 700 "$dir/runtime"
    read -r -a words <<<"$cmd"
    local program
    program=$(program_of "${words[@]}")
    if [[ $(basename "$program") == travoli ]]; then
        local with
        with=$(find_tool "$program")
        if [[ -z $with ]] || ! XDG_CONFIG_HOME=$dir/config "$with" settings set common tongue 0 \
            >/dev/null 2>"$dir/tool.err"; then
            echo "$label: no working travoli-tool; the language dialog stayed open" >>"$work/notes"
        fi
    fi
    local helper=
    case " ${words[*]} " in
        *" TRAVOLI_PLAY=sounds "*) play sounds & helper=$! ;;
        *" TRAVOLI_PLAY=quiet "*) play quiet & helper=$! ;;
    esac
    env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY="$display" XDG_CONFIG_HOME="$dir/config" \
        XDG_RUNTIME_DIR="$dir/runtime" "${audio[@]}" \
        "$probe" --idle "$idle" --settle "$settle" --server-pid "$xvfb_pid" -- "${words[@]}" \
        2>"$dir/stderr" || {
        echo "startup.sh: run $index of '$cmd' failed:" >&2
        cat "$dir/stderr" >&2
        [[ -z $helper ]] || wait "$helper" 2>/dev/null || true
        return 1
    }
    [[ -z $helper ]] || wait "$helper" 2>/dev/null || true
}

labels=()
for k in "${!commands[@]}"; do
    read -r -a words <<<"${commands[$k]}"
    label=$(basename "$(program_of "${words[@]}")")
    # The same program twice (another build, other settings) gets its number on.
    for other in "${labels[@]}"; do
        [[ $other != "$label" ]] || label="$label#$((k + 1))"
    done
    labels+=("$label")
    : >"$work/results-$k"
done

echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), display $display"
echo "# $runs runs after one warm-up, idle window ${idle} s, probe $probe"
for run in $(seq 0 "$runs"); do
    for k in "${!commands[@]}"; do
        line=$(run_one "$run" "${labels[$k]}" "${commands[$k]}")
        if ((run == 0)); then
            echo "warm-up  ${labels[$k]}: $line"
        else
            echo "run $run    ${labels[$k]}: $line"
            echo "$line" >>"$work/results-$k"
        fi
    done
done

# median FILE FIELD
median() {
    tr ' ' '\n' <"$1" | sed -n "s/^$2=//p" | sort -g |
        awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

last=$((${#commands[@]} - 1))
peer_map=$(median "$work/results-$last" map_ms)
peer_rss=$(median "$work/results-$last" rss_kb)
echo
echo "| program | exec to window mapped | resident memory | idle CPU over ${idle} s | X server CPU meanwhile | map / peer | memory / peer | end on SIGTERM |"
echo "|---|---|---|---|---|---|---|---|"
for k in "${!commands[@]}"; do
    map=$(median "$work/results-$k" map_ms)
    rss=$(median "$work/results-$k" rss_kb)
    cpu=$(median "$work/results-$k" cpu_pct)
    srv=$(median "$work/results-$k" server_pct)
    ends=$(tr ' ' '\n' <"$work/results-$k" | sed -n 's/^end=//p' | sort | uniq -c | awk '{ printf "%s%s x%s", sep, $2, $1; sep = ", " }')
    awk -v l="${labels[$k]}" -v m="$map" -v r="$rss" -v c="$cpu" -v s="$srv" -v pm="$peer_map" -v pr="$peer_rss" -v e="$ends" \
        'BEGIN { printf "| %s | %.0f ms | %.1f MB | %.2f %% | %.2f %% | %.2f | %.2f | %s |\n", l, m, r / 1024, c, s, m / pm, r / pr, e }'
    if ((k == 0)); then
        subject_map=$map subject_rss=$rss subject_cpu=$cpu
    fi
done
if ((pulse)); then
    pulse_ticks=$(($(awk '{ print $14 + $15 }' "/proc/$pulse_pid/stat") - pulse_ticks_start))
    awk -v t="$pulse_ticks" -v s="$pulse_clock_start" -v e="$(date +%s.%N)" -v hz="$(getconf CLK_TCK)" \
        'BEGIN { printf "sound server CPU over the whole run: %.2f %% of a core\n", 100 * t / hz / (e - s) }'
fi
if ((a11y)); then
    kill "$listener_pid" 2>/dev/null || true
    wait "$listener_pid" 2>/dev/null || true
    listener_pid=
    echo "accessibility events the listener heard over the whole run (every program, start-up included):"
    if [[ -s $work/a11y-events ]]; then sed 's/^/  /' "$work/a11y-events"; else echo "  none"; fi
fi
if [[ -s $work/notes ]]; then
    sort -u "$work/notes" | sed 's/^/note: /'
fi

if ((check)) && ((last > 0)); then
    verdict=$(awk -v m="$subject_map" -v r="$subject_rss" -v c="$subject_cpu" -v pm="$peer_map" -v pr="$peer_rss" 'BEGIN {
        ok = 1
        if (m > 0.6 * pm) { print "missed: map time " m " ms > 0.6 x " pm " ms"; ok = 0 }
        if (r > 0.5 * pr) { print "missed: resident memory " r " kB > 0.5 x " pr " kB"; ok = 0 }
        if (c >= 0.5) { print "missed: idle CPU " c " % >= 0.5 %"; ok = 0 }
        if (ok) print "all budgets met"
    }')
    echo "$verdict"
    [[ $verdict == "all budgets met" ]] || exit 1
fi
