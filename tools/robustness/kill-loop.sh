#!/usr/bin/env bash
# Kills Tolvaro with SIGKILL at random moments, many times, and checks after each kill that its
# data files are whole: every file readable, the settings as saved, the resume records of other
# books all still there. Half of the kills fall into the exit's saving (SIGTERM first, SIGKILL a
# moment later). Needs xvfb. Usage: tools/robustness/kill-loop.sh [RUNS] [BUILD_DIR] [BOOK]
set -uo pipefail
runs="${1:-100}"
build="$(cd "${2:-build}" && pwd)"
book="$(cd "${3:-$build/documents/sample-book}" && pwd)"
work="$(mktemp -d)"
display=":$((70 + RANDOM % 9))"
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY="$display" APPDATA="$work/data" TOLVARO_AUDIO_SINK="fakesink sync=true"
sleep 1
data="$work/data/Ostrila/Tolvaro"
show() { "$build/tolvaro" --show-data "$data/$1" 2>/dev/null; }

# A first run makes the files; then two records of other books are planted in the resume file.
"$build/tolvaro" --book "$book" >/dev/null 2>&1 &
sleep 4; kill -TERM $!; wait $! 2>/dev/null
python3 - "$data" <<'PY'
import sys
folder = sys.argv[1]
plain = "0123456789 abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZäöüÄÖÜß§!#$%&()*+,-./:;<=>?_"
scrambled = "K§PfScXÄ-ÖrÜj$s e3F?Tn:Bo,zm.QR!%6q*5yZUI4)YhbüL_v#Aad<J1t0wl&G=g>9k;pN+öOiEäW7CV2uMHßD/x8("
def enc(line):
    out = []
    for i, c in enumerate(line):
        k = plain.find(c)
        out.append(scrambled[(k - 2 * (i % 91)) % 91] if k >= 0 else c)
    return "".join(out)
other = []
for n in (1, 2):
    other += ["2020-01-0%d" % n, "other-%d" % n, "Other book %d" % n, "", "3", "0:10:00", "1", "2.500", "4"]
path = folder + "/AResume.dl"
old = open(path, "rb").read()
open(path, "wb").write("".join(enc(l) + "\r\n" for l in other).encode() + old)
PY
settings_before="$(show Settings.dl)"
bad=0; killed_in_exit=0
for i in $(seq 1 "$runs"); do
    "$build/tolvaro" --book "$book" >/dev/null 2>&1 &
    pid=$!
    sleep "$(python3 -c 'import random; print(random.uniform(0.2, 3.0))')"
    if [ $((i % 2)) -eq 0 ]; then
        kill -TERM $pid 2>/dev/null
        sleep "$(python3 -c 'import random; print(random.uniform(0.0, 0.05))')"
        killed_in_exit=$((killed_in_exit + 1))
    fi
    kill -KILL $pid 2>/dev/null; wait $pid 2>/dev/null
    resume="$(show AResume.dl)"
    lines=$(printf '%s\n' "$resume" | grep -c '' )
    if [ "$(show Settings.dl)" != "$settings_before" ] || ! grep -q "^other-1$" <<<"$resume" ||
       ! grep -q "^other-2$" <<<"$resume" || [ $((lines % 9)) -ne 0 ] || ! show Letztes.dl >/dev/null; then
        bad=$((bad + 1)); echo "run $i: damaged"; printf '%s\n' "$resume" | head -20
    fi
done
echo "runs: $runs, of them killed during the exit's saving: $killed_in_exit, damaged: $bad"
[ "$bad" -eq 0 ]
