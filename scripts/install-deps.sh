#!/bin/sh
# Installs the Debian packages Tunewell needs to build, test and run, skipping
# the ones already installed.  Runs apt-get as root, or through sudo.
set -eu

packages="build-essential cmake ninja-build pkg-config libsqlite3-dev sqlite3 \
libgtest-dev libgmock-dev libbenchmark-dev \
qt6-base-dev fonts-dejavu-core fontconfig xvfb xauth xdg-utils \
clang-14 libclang-rt-14-dev"

missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=""
elif command -v sudo >/dev/null 2>&1; then
  as_root="sudo"
else
  echo "install-deps: these packages are missing and neither root nor sudo is available:$missing" >&2
  exit 1
fi
echo "install-deps: installing$missing"
$as_root apt-get update -qq
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends $missing
