#!/usr/bin/env bash
# Starts Tolvaro under Xvfb with an AT-SPI bus and prints what a screen reader would announce
# while transcript.py walks it by keyboard. Needs xvfb, dbus-x11, at-spi2-core, python3-pyatspi,
# xdotool and openbox (a window manager, so that windows are activated and focused as on a
# desktop). Usage: tools/a11y/transcript.sh [BUILD_DIR] [BOOK_FOLDER]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-build}"
book="${2:-$build/documents/sample-book}"
book="$(cd "$book" && pwd)"
display=":$((90 + RANDOM % 9))"
work="$(mktemp -d)"
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY="$display"
sleep 1
exec dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  openbox >/dev/null 2>&1 &
  sleep 1
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 TOLVARO_AUDIO_SINK="fakesink sync=true" APPDATA="$2"
  "$3/tolvaro" >"$2/out.log" 2>&1 &
  /usr/bin/python3 "$1/transcript.py" "$4" ${TRANSCRIPT_DEBUG:+debug}
  sleep 1
  echo "program output: $(wc -l < "$2/out.log") lines"
' bash "$here" "$work" "$(cd "$build" && pwd)" "$book"
