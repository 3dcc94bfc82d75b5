#!/usr/bin/env bash
# make_prefix.sh DIR: a fresh Wine prefix at DIR for one test run, with WINEDEBUG and
# WINEDLLOVERRIDES from the environment. Made once, before the tests that need it: a test
# that met a missing prefix would make one itself, in 7 to 13 s, racing the others.
set -euo pipefail
prefix=$1
rm -rf "$prefix"
mkdir -p "$prefix"
export WINEPREFIX=$prefix
wine wineboot --init
# The prefix is ready only when its wineserver has written the registry and ended.
wineserver --wait
