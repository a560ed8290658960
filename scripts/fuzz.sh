#!/bin/sh
# Runs every libFuzzer harness of build-fuzz for SECONDS each (default 60),
# JOBS at a time (default 1), on a working copy of its corpus: the seeds in
# fuzz/corpus/<name> stay as committed, and what a run learns is kept in
# build-fuzz/corpus/<name> for the next run.  A finding is saved in
# build-fuzz/findings/ and makes the script fail.
#   scripts/fuzz.sh [SECONDS] [JOBS] [HARNESS...]
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
jobs=${2:-1}
[ $# -ge 2 ] && shift 2 || shift $#
harnesses=${*:-"ini_read ini_write reg_roundtrip snapshot plinthctl_args windows_path tools_file"}
mkdir -p build-fuzz/findings build-fuzz/logs

run_one() {
  name=$1
  mkdir -p "build-fuzz/corpus/$name"
  if build-fuzz/fuzz/"fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="build-fuzz/findings/$name-" \
       "build-fuzz/corpus/$name" "fuzz/corpus/$name" >"build-fuzz/logs/$name.log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "build-fuzz/logs/$name.log")
    echo "fuzz $name: ${runs:-?} executions in ${seconds} s, no finding"
  else
    echo "fuzz $name: FINDING (build-fuzz/logs/$name.log, build-fuzz/findings/$name-*)" >&2
    tail -n 30 "build-fuzz/logs/$name.log" >&2
    return 1
  fi
}

status=0
running=0
pids=""
for name in $harnesses; do
  run_one "$name" &
  pids="$pids $!"
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    for pid in $pids; do wait "$pid" || status=1; done
    pids=""
    running=0
  fi
done
for pid in $pids; do wait "$pid" || status=1; done
exit $status
