#!/usr/bin/env bash
# Makes a ready Wine prefix for one test at DIR and prints the environment to run Wine in it:
#
#   eval "$(tests/wine/prefix.sh DIR)"     # exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES
#   wine program.exe
#
# "wine wineboot -i" takes 7 to 13 s, so a template prefix is made once (per Wine version
# and version of this script) and each test gets a copy of it. Wine's own DLLs and
# programs in system32 (600 MB of the 700), which Wine only reads, are hard links to the
# template's where both lie on one file system; everything else is copied (cp -a). The
# template lives in HONDERDTAFELS_WINE_TEMPLATES (default: a folder of this user's under
# /tmp); a lock lets tests that start together make it only once. A DIR that is already a
# ready prefix is kept as it is. When done, end its server ("wineserver -k" with its
# WINEPREFIX) and remove DIR.
#
# What the template adds to Wine's own fresh prefix:
#   - Wine's fonts (Tahoma, Marlett...) in windows/Fonts: without them the MDI caption
#     buttons show letters; but not Wine's own MS Sans Serif (ms_sans_serif.ttf and the
#     sserif bitmaps), which would win over the replacement below and has no bold: the
#     designs' large and bold MS Sans Serif texts came out thin and spaced apart;
#   - MS Sans Serif and Arial standing for Liberation Sans, and Comic Sans MS for Comic
#     Neue: the designs' fonts, which every Windows has and Wine has not.
# The printed environment quiets Wine (WINEDEBUG) and keeps it from offering Mono and
# Gecko or writing menu entries into the home folder (WINEDLLOVERRIDES).
set -euo pipefail

dir=${1:?usage: $(basename "$0") DIR}
here=$(cd "$(dirname "$0")" && pwd)

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

environment() {
  printf 'export WINEPREFIX=%q\n' "$1"
  printf 'export WINEDEBUG=%q\n' "$WINEDEBUG"
  printf 'export WINEDLLOVERRIDES=%q\n' "$WINEDLLOVERRIDES"
  printf 'export WINEARCH=%q\n' "$WINEARCH"
}

ready_marker=.honderdtafels-ready

font_replacements() {
  cat <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS Sans Serif"="Liberation Sans"
"Arial"="Liberation Sans"
"Comic Sans MS"="Comic Neue"
EOF
}

# Boots a fresh prefix at $1 and adds the fonts and their replacements. Runs without a
# display: wineboot needs none, and no window of it can then appear on a test's screen.
make_template() {
  local template=$1 reg
  rm -rf "$template"
  mkdir -p "$template"
  (
    export WINEPREFIX=$template
    unset DISPLAY WAYLAND_DISPLAY
    wine wineboot -i >/dev/null 2>&1
    wineserver -w
    find /usr/share/wine/fonts -type f ! -name 'ms_sans_serif.ttf' ! -name 'sserif*' \
      -exec cp -t "$template/drive_c/windows/Fonts/" {} +
    reg=$template/drive_c/font-replacements.reg
    font_replacements >"$reg"
    wine regedit /S 'C:\font-replacements.reg' >/dev/null 2>&1
    wineserver -w
    rm -f "$reg"
  )
  grep -q '"Comic Sans MS"="Comic Neue"' "$template/user.reg" || {
    echo "prefix.sh: the font replacements did not reach $template/user.reg" >&2
    exit 1
  }
  touch "$template/$ready_marker"
}

if [[ ! -e "$dir/$ready_marker" ]]; then
  command -v wine >/dev/null || {
    echo "prefix.sh: wine is not installed (scripts/install-deps --windows)" >&2
    exit 1
  }
  version=$({ wine --version; cat "$here/prefix.sh"; } | sha256sum | cut -c1-12)
  templates=${HONDERDTAFELS_WINE_TEMPLATES:-${TMPDIR:-/tmp}/honderdtafels-wine-$(id -u)}
  template=$templates/template-$version
  mkdir -p "$templates"
  (
    flock 9
    if [[ ! -e "$template/$ready_marker" ]]; then
      # Templates of another Wine or of an older version of this script are of no more use.
      find "$templates" -mindepth 1 -maxdepth 1 -name 'template-*' ! -name "template-$version" \
        -exec rm -rf {} +
      make_template "$template"
    fi
  ) 9>"$templates/lock"
  # An empty folder (mktemp -d) or a half-made prefix gives way; nothing else does.
  if [[ -e "$dir" ]]; then
    [[ -z "$(ls -A "$dir")" || -e "$dir/system.reg" ]] || {
      echo "prefix.sh: $dir holds files but no Wine prefix; not replacing it" >&2
      exit 1
    }
    rm -rf "$dir"
  fi
  mkdir -p "$dir"
  system32=drive_c/windows/system32
  tar -C "$template" --exclude "./$system32" -cf - . | tar -C "$dir" -xf -
  cp -al "$template/$system32" "$dir/$system32" 2>/dev/null ||
    { rm -rf "${dir:?}/$system32"; cp -a "$template/$system32" "$dir/$system32"; }
fi

environment "$(realpath "$dir")"
