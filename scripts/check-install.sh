#!/usr/bin/env bash
# Installs a build into a temporary folder (DESTDIR) and checks the installed program and its
# desktop files: the program starts from there and finds its documents, the desktop entry and
# the AppStream data are valid.
#   bash scripts/check-install.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
dest="$(mktemp -d)"
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /usr > /dev/null
bin="$dest/usr/bin/tolvaro"
share="$dest/usr/share"
"$bin" --version
"$bin" --dump-tables tests/data/snapshot-book | cmp - tests/data/snapshot-book.tables
for f in tolvaro/documents/html/start_de.html tolvaro/documents/html/start_en.html \
         tolvaro/documents/sample-book/ncc.html man/man1/tolvaro.1 \
         icons/hicolor/scalable/apps/org.ostrila.Tolvaro.svg; do
  test -f "$share/$f" || { echo "not installed: $f" >&2; exit 1; }
done
desktop-file-validate "$share/applications/org.ostrila.Tolvaro.desktop"
appstreamcli validate --no-net "$share/metainfo/org.ostrila.Tolvaro.metainfo.xml"
echo "installed layout checked"
