#!/usr/bin/env bash
# The Windows packages as `make package` builds them, from this .exe, checked under Wine in
# a fresh prefix (tests/e2e/lib.sh makes it), in Xvfb with openbox:
#   - signed with a certificate made here: the .exe and the MSI verify, a changed .exe not;
#   - the zip holds the signed .exe, the licence and the Dutch read-me, as Windows text;
#   - a silent install of an older build (0.9, same UpgradeCode), then of this one: one
#     product registered afterwards, this version, with its publisher and icon; the older
#     MSI once more is refused;
#   - the Start-menu shortcut points at the installed .exe and carries its icon, and the
#     .exe it points at starts from there and shows a window;
#   - a silent uninstall leaves no file, no shortcut and no registry entry behind.
#
#   tests/package/windows_check.sh EXE [OUTPUT_DIR]
set -euo pipefail

here=$(dirname "$(realpath "$0")")
source "$here/../e2e/lib.sh" "$@"
exe=$program
for tool in wixl msiinfo osslsigncode openssl zip wrestool wine xdotool; do
  command -v "$tool" >/dev/null || fail tools "$tool is missing (scripts/install-deps --windows)"
done

old_version=0.9
version=$(head -n 1 "$here/../../VERSION")
packages=$work/packages
install_dir='C:\Program Files\Honderdtafels'

# --- Packages, signed with a certificate of the test's own ---------------------------------
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Honderdtafels test/O=Kwikstaart" \
  -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
"$here/../../packaging/windows/build-package" "$exe" "$packages" "$old_version" >/dev/null
SIGN_CERT=$work/cert.pem SIGN_KEY=$work/key.pem \
  "$here/../../packaging/windows/build-package" "$exe" "$packages" >/dev/null
msi=$packages/honderdtafels-$version-x64.msi old_msi=$packages/honderdtafels-$old_version-x64.msi
zip=$packages/honderdtafels-$version-windows-x64.zip
log "packages built: $(basename "$msi"), $(basename "$zip"), $(basename "$old_msi")"

verifies() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.log" 2>&1; }

/usr/bin/python3 -m zipfile -e "$zip" "$work/unzipped"
portable=$work/unzipped/Honderdtafels
[[ "$(ls "$portable" | sort | tr '\n' ' ')" == "LEESMIJ.txt LICENSE.txt honderdtafels.exe " ]] ||
  fail zip "the zip holds $(ls "$portable" | tr '\n' ' '), not the .exe, LEESMIJ.txt and LICENSE.txt"
grep -q "honderdtafels-$version-x64.msi" "$portable/LEESMIJ.txt" || fail zip "LEESMIJ.txt names no MSI of $version"
[[ $(grep -c $'\r$' "$portable/LEESMIJ.txt") -eq $(wc -l <"$portable/LEESMIJ.txt") ]] ||
  fail zip "LEESMIJ.txt has lines without CRLF"
verifies "$portable/honderdtafels.exe" || fail signature "the zip's .exe does not verify: $(tail -3 "$work/verify.log")"
verifies "$msi" || fail signature "the MSI does not verify: $(tail -3 "$work/verify.log")"
changed=$work/changed.exe
cp "$portable/honderdtafels.exe" "$changed"
printf '\xcc' | dd of="$changed" bs=1 seek=$(($(stat -c %s "$changed") / 2)) conv=notrunc 2>/dev/null
! verifies "$changed" || fail signature "a changed .exe still verifies"
log "signatures of the .exe and the MSI verify; a changed .exe does not"

# --- The fresh prefix lib.sh made, and its registry -------------------------------------------
drive_c=$WINEPREFIX/drive_c
find "$drive_c" | sort >"$work/files.before"

# "ProductCode DisplayVersion Publisher" of each product in Add/Remove Programs called
# Honderdtafels, read from the prefix's machine registry once the server has written it.
products() {
  wineserver -w
  awk '
    /^\[/ {
      key = ""
      if ($0 ~ /^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\/) {
        key = $0
        sub(/^.*\\/, "", key)
        sub(/\].*$/, "", key)
      }
      next
    }
    key == "" { next }
    /^"DisplayName"="Honderdtafels"$/ { named[key] = 1 }
    /^"DisplayVersion"=/ { split($0, v, "\""); version[key] = v[4] }
    /^"Publisher"=/ { split($0, v, "\""); publisher[key] = v[4] }
    END { for (k in named) print k, version[k], publisher[k] }' "$WINEPREFIX/system.reg"
}
msi_property() { msiinfo export "$1" Property | awk -v p="$2" '$1 == p { print $2 }' | tr -d '\r'; }
msiexec() { wine msiexec "$@" >/dev/null 2>&1 || fail msiexec "msiexec $* ended with status $?"; }

# --- The older build, then this one over it ---------------------------------------------------
[[ "$(msi_property "$msi" ALLUSERS)" == 1 ]] || fail per-machine "the MSI does not install for all users"
msiexec /i "$old_msi" /qn
# Windows Installer shows the version in three fields: 0.9 as 0.9.0.
[[ "$(products)" == "$(msi_property "$old_msi" ProductCode) $old_version.0 Kwikstaart" ]] ||
  fail install "after installing $old_version, Add/Remove Programs lists: $(products)"
log "$old_version installed silently"

msiexec /i "$msi" /qn
product_code=$(msi_property "$msi" ProductCode)
[[ "$(products)" == "$product_code $(msi_property "$msi" ProductVersion) Kwikstaart" ]] ||
  fail upgrade "after installing $version over $old_version, Add/Remove Programs lists: $(products)"
installed=$drive_c/Program\ Files/Honderdtafels
cmp -s "$installed/honderdtafels.exe" "$portable/honderdtafels.exe" ||
  fail upgrade "the installed .exe is not the one of $version"
verifies "$installed/honderdtafels.exe" || fail signature "the installed .exe does not verify"
# The program's icon, as the installer keeps it for the shortcut and Add/Remove Programs.
wrestool -x -t 14 "$installed/honderdtafels.exe" -o "$work/program.ico"
icon_copy="C:\\windows\\Installer\\$product_code\\honderdtafels.ico"
grep -qF "\"ProductIcon\"=\"${icon_copy//\\/\\\\}\"" "$WINEPREFIX/system.reg" ||
  fail icon "Add/Remove Programs shows no icon $icon_copy"
log "$version replaced $old_version: one product, $version, signed .exe in place"

# The older MSI again, as a stale deployment might push it: refused, nothing changes.
! wine msiexec /i "$old_msi" /qn >/dev/null 2>&1 || fail downgrade "the older MSI installed over $version"
[[ "$(products)" == "$product_code $(msi_property "$msi" ProductVersion) Kwikstaart" ]] ||
  fail downgrade "after the refused downgrade, Add/Remove Programs lists: $(products)"
cmp -s "$installed/honderdtafels.exe" "$portable/honderdtafels.exe" || fail downgrade "the .exe changed"
log "the older MSI is refused over $version"

# --- The shortcut and the program it starts ---------------------------------------------------
# Under Wine the shortcut of a per-machine install lands in the user's Start menu.
shortcut=$(find "$drive_c/users" "$drive_c/ProgramData" -path '*Start Menu/Programs/Honderdtafels.lnk' 2>/dev/null)
[[ $(wc -l <<<"$shortcut") -eq 1 && -n $shortcut ]] || fail shortcut "no one Start-menu shortcut: '$shortcut'"
/usr/bin/python3 "$here/read_lnk.py" "$shortcut" >"$work/shortcut"
field() { sed -n "s/^$1 //p" "$work/shortcut"; }
[[ "$(field target)" == "$install_dir\\honderdtafels.exe" ]] ||
  fail shortcut "the shortcut points at '$(field target)'"
[[ "$(field working_dir)" == "$install_dir\\" ]] || fail shortcut "the shortcut starts in '$(field working_dir)'"
unix_path() { sed -e 's|^[Cc]:|'"$drive_c"'|' -e 's|\\|/|g' <<<"$1"; }
[[ "$(field icon)" == "$icon_copy" ]] && cmp -s "$(unix_path "$icon_copy")" "$work/program.ico" ||
  fail shortcut "the shortcut's icon is '$(field icon)', not the program's"
log "the shortcut points at $(field target)"

start_x
start_openbox
wine "$(field target)" >"$out/installed-program.log" 2>&1 &
app_pid=$!
for _ in $(seq 300); do
  window_id "$main_title" >/dev/null && break
  kill -0 "$app_pid" 2>/dev/null || fail start "the installed program ended without a window"
  sleep 0.1
done
window_id "$main_title" >/dev/null || fail start "the installed program shows no main window"
log "the installed program shows its main window"
wineserver -k
wait "$app_pid" 2>/dev/null || true
app_pid=""

# --- Uninstall: nothing left ---------------------------------------------------------------------
msiexec /x "$msi" /qn
[[ -z "$(products)" ]] || fail uninstall "after the uninstall, Add/Remove Programs lists: $(products)"
# The installer's cache folder stays, as on Windows; what was in it counts.
rmdir "$drive_c/windows/Installer" 2>/dev/null || true
find "$drive_c" | sort >"$work/files.after"
left=$(comm -13 "$work/files.before" "$work/files.after")
[[ -z $left ]] || fail uninstall "left behind: $left"
packed() { # the product code as the installer's registry keys spell it
  local g=${1//[\{\}-]/}
  echo "$(rev <<<"${g:0:8}")$(rev <<<"${g:8:4}")$(rev <<<"${g:12:4}")$(sed 's/\(.\)\(.\)/\2\1/g' <<<"${g:16}")"
}
for trace in "$product_code" "$(packed "$product_code")" Honderdtafels; do
  ! grep -qiF "$trace" "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" ||
    fail uninstall "the registry still holds $trace"
done
log "uninstalled silently: no file, shortcut or registry entry left"
