#!/bin/sh
# Runs Tunewell from the build tree on the default machine (or the one given
# with --machine DIR or TUNEWELL_MACHINE).  Without a display the program
# says so in one line and names scripts/screenshots.sh, which runs it on
# Qt's offscreen platform and saves a screenshot of every tab.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
program="$here/build/programs/tunewell"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  "$program" "$@" || true
  exit 0
fi
exec "$program" "$@"
