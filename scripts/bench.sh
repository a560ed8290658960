#!/bin/sh
# Runs every benchmark program of the build tree.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
for b in $(find "$here/build/bench" -type f -perm -u+x -name 'bench_*' | sort); do
  echo "== $(basename "$b")"
  "$b" --benchmark_min_time=0.2 "$@"
done
