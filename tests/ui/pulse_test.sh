#!/usr/bin/env bash
# The game's sounds through a real PulseAudio server with a null sink, recorded from the
# sink's monitor; the server, the recorder and the folders are this script's own.
#   pulse_test.sh GAME_SOUND_TEST
set -euo pipefail
test_binary=$1
work=$(mktemp -d)
trap 'kill "${record_pid:-}" "${pulse_pid:-}" 2>/dev/null || true; wait 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "pulse: $*" >&2; exit 1; }

export XDG_RUNTIME_DIR=$work/runtime PULSE_RUNTIME_PATH=$work/runtime/pulse HOME=$work/home
export XDG_CONFIG_HOME=$work/config PULSE_SERVER=unix:$work/runtime/pulse/native
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" "$XDG_CONFIG_HOME" && chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio --daemonize=no --exit-idle-time=-1 -n --disallow-exit --use-pid-file=no \
    -L "module-null-sink sink_name=travoli_test rate=44100 channels=1" \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$work/runtime/pulse/native" \
    -L module-always-sink >"$work/pulse.log" 2>&1 &
pulse_pid=$!
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || fail "the sound server did not start: $(cat "$work/pulse.log")"
pactl set-default-sink travoli_test

parecord --raw --format=s16le --rate=44100 --channels=1 --latency-msec=10 \
    -d travoli_test.monitor "$work/monitor.raw" &
record_pid=$!
# The recorder counts once it writes what the monitor hears (silence so far).
recorded() { (($(stat -c %s "$work/monitor.raw" 2>/dev/null || echo 0) >= 8820)); }
for _ in $(seq 100); do recorded && break; sleep 0.1; done
recorded || fail "the recorder wrote nothing"
TRAVOLI_MONITOR_FILE=$work/monitor.raw SDL_AUDIODRIVER=pulseaudio \
    "$test_binary" --gtest_filter=GameSounds.ThroughASoundServer
