#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, only what is missing. The
# tests also use chattr (e2fsprogs) to make a file that even root cannot write.
# Usage: scripts/install-deps.sh [run|test]
set -euo pipefail
cd "$(dirname "$0")/.."

what=${1:-test}
packages=(g++ cmake make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev
          fonts-noto-core fonts-noto-ui-core fonts-dejavu-core)
if [ "$what" = test ]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev sqlite3 mdbtools mdbtools-dev
               clang libclang-rt-14-dev nodejs npm xvfb xauth xdotool openbox x11-xkb-utils
               x11-utils imagemagick wmctrl e2fsprogs)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# node and npm may come from elsewhere than Debian's packages; take them where they are.
if command -v node >/dev/null && command -v npm >/dev/null; then
    missing=("${missing[@]/nodejs}"); missing=("${missing[@]/npm}")
fi
read -r -a missing <<< "${missing[*]:-}"

if [ ${#missing[@]} -gt 0 ]; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$what" = test ]; then
    # The independent Jet reader the tests compare against, at the version in package-lock.json.
    if [ ! -d tools/oracles/node_modules/mdb-reader ]; then
        (cd tools/oracles && npm ci --no-audit --no-fund --loglevel=error)
    fi
fi
