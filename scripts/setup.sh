#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine (as root) and builds Tambor.
# Usage: scripts/setup.sh [BUILD_DIR] [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-l10n-tools libgl-dev libvulkan-dev
          libcurl4-openssl-dev libcpp-httplib-dev libgtest-dev libgmock-dev libbenchmark-dev
          fonts-ipafont-gothic xvfb xauth desktop-file-utils groff-base poppler-utils
          clang libfuzzer-14-dev libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages need root: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

build_dir=${1:-build}
shift || true
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMBOR_WERROR="$werror" "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
