#!/usr/bin/env bash
# Installs into a temporary root (DESTDIR) and checks the installed tree, the
# desktop entry and the AppStream metadata; then starts the installed editor
# from that read-only tree as an ordinary user (root may write anywhere) in
# Xvfb: it keeps its settings in the user's config folder and leaves the
# program's folder alone.
#   tests/install/install_test.sh BUILD_FOLDER
set -u
build=${1:?the build folder}
verbose=1
. "$(dirname "$0")/../support/checks.sh"
make_work_folder

root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null || { echo "FAIL install"; exit 1; }
usr="$root/usr"
for f in bin/kalmera bin/kalmera-fen libexec/kalmera/kalmera-fen-picture share/applications/org.example.Kalmera.desktop \
         share/metainfo/org.example.Kalmera.metainfo.xml share/man/man1/kalmera.1.gz \
         share/man/man1/kalmera-fen.1.gz share/icons/hicolor/scalable/apps/org.example.Kalmera.svg \
         share/doc/kalmera/copyright share/doc/kalmera/changelog.gz; do
  check "installed: $f" yes "$([ -f "$usr/$f" ] && echo yes || echo no)"
done
for size in 16 22 24 32 48 64 128 256; do
  icon="$usr/share/icons/hicolor/${size}x$size/apps/org.example.Kalmera.png"
  check "icon $size" "PNG ${size}x$size" "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)"
done
check "the 30 diagram images" 30 "$(ls "$usr/share/kalmera/PNG" | grep -c '\.png$')"

if command -v desktop-file-validate >/dev/null; then
  check "desktop entry is valid" "" "$(desktop-file-validate "$usr/share/applications/org.example.Kalmera.desktop" 2>&1)"
else
  echo "SKIPPED desktop-file-validate: not installed (package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$usr/share/metainfo/org.example.Kalmera.metainfo.xml" >"$work/as.txt" 2>&1
  check "AppStream metadata is valid" 0 "$?"
  grep -q 'Validation was successful' "$work/as.txt" || cat "$work/as.txt"
else
  echo "SKIPPED appstreamcli: not installed (package appstream)"
fi

# The Debian package, as lintian judges it: no error, warning or hint.
version=$("$usr/bin/kalmera-fen" --version | cut -d' ' -f2)
if command -v lintian >/dev/null && command -v cpack >/dev/null; then
  (cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null 2>&1)
  deb=$(ls "$work"/deb/kalmera_*.deb 2>/dev/null | head -n 1)
  check "the package is made" yes "$([ -f "$deb" ] && echo yes || echo no)"
  check "the package's version is the program's" "$version" "$(dpkg-deb -f "$deb" Version 2>/dev/null)"
  check "the changelog names that version" "kalmera ($version) unstable; urgency=medium" \
    "$(gzip -dc "$usr/share/doc/kalmera/changelog.gz" | head -n 1)"
  check "lintian finds nothing" "" \
    "$(lintian --pedantic --display-info "$deb" 2>&1 | grep -v 'running with root privileges')"
else
  echo "SKIPPED lintian: lintian or cpack is not installed"
fi
check "the HTML credit shows that version" "Ver. ${version%.*}" \
  "$(echo 8/8 | "$usr/bin/kalmera-fen" html | grep -o 'Ver\. [0-9.]*')"

# The installed tool finds the images of its installation.
std='rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'
check "the tool's page takes the installed images" 1 \
  "$(echo "$std" | "$usr/bin/kalmera-fen" html --document | grep -c "src=\"file://$usr/share/kalmera/PNG/wK.png\"")"

# The installed tool starts its installed picture program, also through a link.
ln -s "$usr/bin/kalmera-fen" "$work/fen-link"
echo "$std" | "$work/fen-link" picture --png "$work/board.png"
check "the installed tool draws a picture" "PNG 337x337" "$(identify -format '%m %wx%h' "$work/board.png" 2>/dev/null)"
check "the tool itself does without Qt" 0 "$(ldd "$usr/bin/kalmera-fen" | grep -c Qt)"

# The editor, from the read-only installation, as an ordinary user.
for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || { echo "SKIPPED the editor: $tool is not installed"; finish; exit; }
done
chmod -R a+rX,a-w "$root"
home="$work/home"
mkdir -p "$home" && chmod 777 "$home"
before=$(cd "$usr/bin" && ls -la)
. "$(dirname "$0")/../../scripts/xvfb.sh"
if start_xvfb 170 190; then
  run=()
  [ "$(id -u)" -eq 0 ] && run=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
    QT_QPA_PLATFORM=xcb "${run[@]}" "$usr/bin/kalmera" >/dev/null 2>&1 & apid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --pid $apid 2>/dev/null | head -n 1)
  check "the installed editor starts" yes "$([ -n "$win" ] && echo yes || echo no)"
  check "it starts without a message" 1 "$(xdotool search --onlyvisible --pid $apid 2>/dev/null | wc -l)"
  xdotool windowfocus --sync "$win" 2>/dev/null; sleep 0.3
  xdotool key --clearmodifiers ctrl+q
  for _ in $(seq 50); do kill -0 $apid 2>/dev/null || break; sleep 0.1; done
  check "Ctrl+Q ends it" ended "$(kill -0 $apid 2>/dev/null && echo running || echo ended)"
  apid=""
  check "its settings are in the user's config folder" "FEN=$std" \
    "$(grep '^FEN=' "$home/.config/kalmera/kalmera.ini" 2>/dev/null)"
  check "the pictures folder defaults to the home folder" "BMP=$home/" \
    "$(grep '^BMP=' "$home/.config/kalmera/kalmera.ini" 2>/dev/null)"
  check "the program's folder is untouched" "$before" "$(cd "$usr/bin" && ls -la)"
else
  echo "SKIPPED the editor: no X server could be started"
fi

finish
