#!/usr/bin/env bash
# Runs the Win32 backend's window tests under Wine on a screen at DPI dots per inch (96 is
# 100 %), in a Wine prefix of their own (PREFIX_DIR, made by tests/wine/prefix.sh) whose
# LogPixels says so, in a private X display large enough for 200 %; the prefix is removed
# afterwards:
#
#   at_scale.sh DPI PREFIX_DIR TESTS.exe
set -euo pipefail

dpi=${1:?usage: $(basename "$0") DPI PREFIX_DIR TESTS.exe}
prefix=${2:?}
tests=${3:?}
here=$(cd "$(dirname "$0")" && pwd)

eval "$("$here/../wine/prefix.sh" "$prefix")"
export HONDERDTAFELS_DPI=$dpi
status=0
xvfb-run -a -s "-screen 0 2400x1600x24 -nolisten tcp -noreset" bash -c '
  wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null &&
  wine "$2"' _ "$dpi" "$tests" || status=$?
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
exit "$status"
