#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM [ARGS...]: runs a Windows program of the project under Wine.
# CTest uses it as the emulator of the Windows build. The prefix, the display and the
# wineserver are brought up by scripts/test.sh (or by hand with scripts/wine-up.sh).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"
mt_wine_env "${MT_WINEPREFIX:-$1}"
shift
exec wine "$@"
