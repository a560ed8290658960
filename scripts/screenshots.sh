#!/bin/sh
# Runs Tunewell on Qt's offscreen platform against a fresh temporary machine
# and saves the splash picture and every tab of the main window as PNG files
# in OUTDIR (default: build/screenshots), printing their paths.
#
#   scripts/screenshots.sh [OUTDIR]
#
# TUNEWELL_BUILD=DIR uses another (configured) build tree than build/.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${TUNEWELL_BUILD:-$here/build}
out=${1:-$build/screenshots}

cd "$here"
if [ -z "${TUNEWELL_BUILD:-}" ]; then
  sh scripts/install-deps.sh
  [ -f build/build.ninja ] || cmake --preset default >/dev/null
fi
cmake --build "$build" --target tunewell >/dev/null

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tunewell-shots.XXXXXX")
trap 'rm -rf "$scratch"' EXIT INT TERM
mkdir -m 700 "$scratch/runtime"
mkdir -p "$out"
XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=offscreen \
  "$build/programs/tunewell" --machine "$scratch/machine" --screenshots "$out"
