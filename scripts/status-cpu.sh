#!/bin/sh
# The tuner's own CPU use while it sits on the Status tab at the fastest
# gauge refresh (250 ms), on Qt's offscreen platform, against a fresh
# temporary machine.  Beside it, in the same run and for the same time, the
# CPU use of a plain Qt Widgets program with the same window that sits idle
# (the baseline: what any Qt window costs while nothing happens).
# Target: under 0.5 % of one core.
#
#   scripts/status-cpu.sh [SECONDS]       (default 60)
#
# TUNEWELL_BUILD=DIR uses another (configured) build tree than build/.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TUNEWELL_BUILD:-$here/build}
seconds=${1:-60}

cd "$here"
cmake --build "$build" --target tunewell tunewell-drive plinthctl tw_plain_window >/dev/null

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tunewell-cpu.XXXXXX")
tuner=
plain=
cleanup() {
  [ -n "$tuner" ] && kill "$tuner" 2>/dev/null || true
  [ -n "$plain" ] && kill "$plain" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT INT TERM
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=offscreen
machine="$scratch/machine"

# A first run and its exit, so that the preferences are kept from then on;
# then the fastest refresh.
printf 'close\n' | "$build/programs/tunewell-drive" --machine "$machine" - /Ns >/dev/null
"$build/programs/plinthctl" --machine "$machine" WriteValue HKEY_CURRENT_USER \
  'Software\VB and VBA Program Settings\Tunewell\Startup' Speed 250 REG_SZ >/dev/null
refresh=$(printf 'print Timer1.Interval\n' | "$build/programs/tunewell-drive" --machine "$machine" - /Ns)
[ "$refresh" = "Timer1.Interval = 250" ] || { echo "the refresh is not 250 ms: $refresh" >&2; exit 1; }

# CPU time of a process so far, in clock ticks (user + system).
ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }

"$build/programs/tunewell" --machine "$machine" /Ns &
tuner=$!
"$build/bench/qt/tw_plain_window" &
plain=$!
sleep 3  # start-up is not what is measured
t0=$(ticks "$tuner")
p0=$(ticks "$plain")
sleep "$seconds"
t1=$(ticks "$tuner")
p1=$(ticks "$plain")

hz=$(getconf CLK_TCK)
awk -v t="$((t1 - t0))" -v p="$((p1 - p0))" -v hz="$hz" -v s="$seconds" 'BEGIN {
  printf "tuner on the Status tab at 250 ms: %.3f %% of one core (%d ticks of 1/%d s in %d s)\n", t * 100 / hz / s, t, hz, s
  printf "plain Qt window, idle:             %.3f %% of one core (%d ticks in %d s)\n", p * 100 / hz / s, p, s
  printf "target: tuner under 0.5 %%\n"
}'
