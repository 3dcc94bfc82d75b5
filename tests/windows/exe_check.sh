#!/usr/bin/env bash
# exe_check.sh EXE: the Windows program as it ships. It must start on any Windows without
# a redistributable beside it, so every DLL it imports must be one of Windows' own; Wine
# implements each of those and only those, so Wine's own DLL folder is the list. It is a
# GUI program (no console window behind it), carries its icon, version information and
# manifest, and is stripped.
set -euo pipefail
exe=$1
objdump=x86_64-w64-mingw32-objdump
windows_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
failed=0
fail() { echo "FAIL: $*"; failed=1; }

headers=$("$objdump" -p "$exe")
mapfile -t imports < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
((${#imports[@]} > 0)) || fail "no import table found"
for dll in "${imports[@]}"; do
  if [[ -e $windows_dlls/${dll,,} ]]; then
    echo "imports $dll"
  else
    fail "imports $dll, which Windows does not have"
  fi
done

# What the program loads when it first needs it: the common controls with the first control,
# once the main window shows; oleacc and oleaut32 with a screen reader's first question; no
# COM or imaging codecs at all. An import would load and run each before the main window.
for dll in comctl32.dll oleacc.dll oleaut32.dll ole32.dll windowscodecs.dll; do
  for imported in "${imports[@]}"; do
    [[ ${imported,,} == "$dll" ]] && fail "imports $dll, which it should load when first needed"
  done
done

grep -q '^Subsystem\s.*(Windows GUI)' <<<"$headers" || fail "not a Windows GUI program"

# wrestool names the types by number: 14 a group icon, 16 the version, 24 the manifest.
resources=$(wrestool --list "$exe")
for type in 14 16 24; do
  grep -q -- "--type=$type " <<<"$resources" || fail "no resource of type $type"
done

"$objdump" --syms "$exe" | grep -q 'no symbols' || fail "not stripped"
echo "size $(stat -c %s "$exe") bytes"
exit "$failed"
