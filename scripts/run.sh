#!/usr/bin/env bash
# Sets up, builds and starts Tambor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<'MSG'
画面（ディスプレイ）がありません。タンボルのウィンドウを表示できません。
  仮想画面で起動する:   xvfb-run -a build/app/tambor
  コマンドラインで使う: build/app/tambor-cli --help
MSG
    exit 1
fi
exec build/app/tambor
