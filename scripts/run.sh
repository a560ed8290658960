#!/bin/sh
# Runs Tunewell from the build tree on the default machine (or the one given
# with --machine DIR or TUNEWELL_MACHINE).  Until the main window is built,
# this is the system library's command line.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
if [ "$#" -eq 0 ]; then
  echo "Tunewell's system library on the machine ${TUNEWELL_MACHINE:-in ${XDG_DATA_HOME:-$HOME/.local/share}/tunewell/machine}:"
  "$here/build/syslib/ctl/plinthctl" OSVersion
  "$here/build/syslib/ctl/plinthctl" INIRead vcache MinFileCache 0 System.ini
  echo "Run 'make run ARGS=\"METHOD ARG...\"' to call any method (make run ARGS=methods lists them)."
  exit 0
fi
exec "$here/build/syslib/ctl/plinthctl" "$@"
