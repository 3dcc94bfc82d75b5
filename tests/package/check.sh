#!/usr/bin/env bash
# Builds the Debian packages as `make package` does, in its own Release folder, and checks
# them as Debian and the software centres would: lintian --pedantic on both .debs,
# appstreamcli on the program's metainfo, desktop-file-validate on its menu entry. Every
# lintian tag fails, info tags too: those are where a binary that is not hardened or not
# fully stripped shows. From appstreamcli any error, warning or pedantic hint fails, its
# infos pass. Then the menu entry's command must start the packaged program and keep it
# running. The page's package must hold the site as `make web` built it, and its nginx
# snippet, included in a server block, must serve it at /honderdtafels/.
#
#   tests/package/check.sh SOURCE_DIR PACKAGE_BUILD_DIR
#
# Exits 77, which ctest reports as skipped, when one of the checkers is not installed.
set -euo pipefail

src=$(cd "$1" && pwd)
dir=$2

PATH=$PATH:/usr/sbin
for tool in lintian appstreamcli desktop-file-validate dpkg-deb dpkg-parsechangelog nginx curl; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps --desktop installs it)"
    exit 77
  fi
done

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

work=$(mktemp -d)
program_pid=
cleanup() {
  if [[ -n $program_pid ]]; then kill "$program_pid" 2>/dev/null || true; fi
  if [[ -f $work/nginx/nginx.pid ]]; then kill "$(cat "$work/nginx/nginx.pid" 2>/dev/null)" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A .deb of an older version must not be checked in place of the new one.
rm -f "$dir"/honderdtafels_*.deb "$dir"/honderdtafels-web_*.deb
env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make -C "$src" --no-print-directory package \
  PACKAGE_DIR="$(realpath -m "$dir")"
the_deb() { # pattern
  local debs=("$dir"/$1)
  if [[ ${#debs[@]} -ne 1 || ! -f ${debs[0]} ]]; then
    echo "FAIL: make package made no single package $1 in $dir"
    exit 1
  fi
  echo "${debs[0]}"
}
deb=$(the_deb 'honderdtafels_*_amd64.deb')
web_deb=$(the_deb 'honderdtafels-web_*_all.deb')

for package in "$deb" "$web_deb"; do
  echo "== lintian --pedantic $package"
  status=0
  lintian --pedantic --display-info --info --fail-on error,warning,info,pedantic "$package" \
    >"$work/lintian" 2>&1 || status=$?
  grep -v '^running with root privileges' "$work/lintian" || true
  [[ $status -eq 0 ]] || fail "lintian reports a tag for $package"
done

tree=$work/tree
dpkg-deb -x "$deb" "$tree"

# appstreamcli and desktop-file-validate succeed despite warnings, so their reports are read:
# a report is clean when no line matches the pattern.
clean_report() { # report-file pattern-of-failing-lines
  cat "$1"
  ! grep -qE "$2" "$1"
}

echo "== appstreamcli validate-tree --no-net (the metainfo and menu entry as installed)"
appstreamcli validate-tree --no-net --pedantic "$tree" >"$work/appstream" 2>&1 || true
clean_report "$work/appstream" '^ *[EWP]: |[Ff]ailed' || fail "appstreamcli complains"
metainfos=("$tree"/usr/share/metainfo/*.metainfo.xml)
[[ -f ${metainfos[0]} ]] || fail "no metainfo in the package"

echo "== desktop-file-validate"
desktop=$tree/usr/share/applications/honderdtafels.desktop
desktop-file-validate "$desktop" >"$work/desktop" 2>&1 || fail "desktop-file-validate fails"
clean_report "$work/desktop" 'error|warning' || fail "desktop-file-validate complains"

# Once the pictures of docs/ are on the web, the metainfo lists each of them as a screenshot:
# that list must validate and name exactly the pictures there are of the desktop program
# (docs/web-*.png show the page in a browser, which this package does not hold).
echo "== the metainfo with screenshots"
with_shots=$work/with-screenshots.metainfo.xml
cmake -DMETAINFO_IN="$src/packaging/example.kwikstaart.honderdtafels.metainfo.xml.in" \
  -DMETAINFO_OUT="$with_shots" -DSCREENSHOT_URL=https://screenshots.example/docs/ \
  -DCHANGELOG="$src/CHANGELOG.md" \
  -P "$src/packaging/metainfo.cmake"
appstreamcli validate --no-net --pedantic "$with_shots" >"$work/shots" 2>&1 || true
clean_report "$work/shots" '^ *[EWP]: |[Ff]ailed' ||
  fail "appstreamcli complains about the screenshots"
listed=$(grep -o 'https://screenshots.example/docs/[^<]*' "$with_shots" | sed 's#.*/##' | sort)
# The Linux program's own screens; the page's and the Windows program's are shown elsewhere.
present=$(cd "$src/docs" && ls -- *.png | grep -v -e '^web-' -e '^windows-' | sort)
if [[ $listed != "$present" ]]; then
  fail "the screenshots listed are not the pictures in docs/:"
  diff <(echo "$listed") <(echo "$present") || true
fi

# The version of VERSION in the packages and what they hold; CHANGELOG.md's newest release
# is that version, and each Debian changelog's newest entry is that release, on its date.
echo "== one version everywhere"
version=$(head -n 1 "$src/VERSION")
package_version=$(dpkg-deb -f "$deb" Version)
release_version=$(grep -o '<release version="[^"]*"' "${metainfos[0]}" | head -n 1 | cut -d'"' -f2)
manual_version=$(zcat "$tree/usr/share/man/man6/honderdtafels.6.gz" |
  sed -n 's/^\.TH .*"Honderdtafels \([^"]*\)".*/\1/p')
web_version=$(dpkg-deb -f "$web_deb" Version)
read -r changes_version changes_date < <(sed -n 's/^## \[\([0-9.]*\)\] - \([0-9-]*\)$/\1 \2/p' \
  "$src/CHANGELOG.md" | head -n 1)
echo "VERSION $version, CHANGELOG.md $changes_version of $changes_date, package $package_version," \
  "metainfo release $release_version, manual page $manual_version, the page's package $web_version"
for v in "$package_version" "$release_version" "$manual_version" "$web_version" "$changes_version"; do
  [[ $v == "$version" ]] || fail "version $v differs from VERSION's $version"
done
for changelog in "$src/packaging/changelog" "$src/packaging/web/changelog"; do
  entry="$(dpkg-parsechangelog -l "$changelog" -S Version) of $(date -u -d "$(dpkg-parsechangelog -l "$changelog" -S Date)" +%F)"
  echo "${changelog#"$src"/}: $entry"
  [[ $entry == "$changes_version of $changes_date" ]] ||
    fail "${changelog#"$src"/} begins with $entry, CHANGELOG.md with $changes_version of $changes_date"
done

# The packaged program, stripped and hardened, started by its menu entry's command.
echo "== the menu entry's command starts the packaged program"
command=$(sed -n 's/^Exec=//p' "$desktop")
PATH=$tree/usr/bin:$PATH QT_QPA_PLATFORM=offscreen $command >"$work/program" 2>&1 &
program_pid=$!
sleep 3
if kill -0 "$program_pid" 2>/dev/null; then
  echo "still running after 3 s"
else
  wait "$program_pid" && status=0 || status=$?
  program_pid=
  cat "$work/program"
  fail "'$command' ended within 3 s (status $status)"
fi

# The page's package: the site as built, and nginx's snippet in a server block serving it at
# /honderdtafels/ (with the site's folder changed to where the package is unpacked).
echo "== the page's package"
web_tree=$work/web
chmod 755 "$work" # nginx's workers, run as nobody when the test runs as root, read the site
dpkg-deb -x "$web_deb" "$web_tree"
site=$web_tree/usr/share/honderdtafels-web
diff -r "$src/build-web" "$site" || fail "the package's site is not build-web/"
conf=$work/nginx
mkdir -p "$conf/snippets"
for file in "$web_tree"/etc/nginx/snippets/*; do
  sed "s#/usr/share/honderdtafels-web/#$site/#" "$file" >"$conf/snippets/${file##*/}"
done
port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$conf/nginx.conf" <<CONF
pid $conf/nginx.pid;
events {}
http {
    access_log off;
    client_body_temp_path $conf/body; proxy_temp_path $conf/proxy; fastcgi_temp_path $conf/fastcgi;
    uwsgi_temp_path $conf/uwsgi; scgi_temp_path $conf/scgi;
    server { listen 127.0.0.1:$port; include snippets/honderdtafels-web.conf; }
}
CONF
nginx -e stderr -p "$conf" -c "$conf/nginx.conf" || fail "nginx does not start with the snippet"
serves() { # path header-line...
  local path=$1 got
  shift
  got=$(curl -s -o /dev/null -D - -H 'Accept-Encoding: gzip' "http://127.0.0.1:$port$path" | tr -d '\r') || true
  for line in "$@"; do grep -qxF "$line" <<<"$got" || fail "$path: no '$line' in: $got"; done
}
serves /honderdtafels/ 'Content-Type: text/html; charset=utf-8' 'Cache-Control: no-cache'
serves /honderdtafels/honderdtafels.wasm 'Content-Type: application/wasm' 'Content-Encoding: gzip'
serves /honderdtafels "Location: http://127.0.0.1:$port/honderdtafels/"
kill "$(cat "$conf/nginx.pid")"

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "the package passes"
