#!/usr/bin/env bash
# Starts Tolvaro on a book with one data file damaged in each of several ways, ends it with
# SIGTERM, and reports for each case whether it started and ended in time and what became of the
# file: a file it cannot read whole must be left as it was. Needs xvfb.
# Usage: tools/robustness/damaged-files.sh [BUILD_DIR] [BOOK]
set -uo pipefail
build="$(cd "${1:-build}" && pwd)"
book="$(cd "${2:-$build/documents/sample-book}" && pwd)"
work="$(mktemp -d)"
display=":$((80 + RANDOM % 9))"
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY="$display" TOLVARO_AUDIO_SINK="fakesink sync=true"
sleep 1

damage() { # case file
    local f="$2"
    case "$1" in
        empty) : > "$f" ;;
        garbage) head -c 4096 /dev/urandom > "$f" ;;
        random-50MB) head -c 50000000 /dev/urandom > "$f" ;;
        larger-than-any) truncate -s 70M "$f" ;;
        fifo) rm -f "$f"; mkfifo "$f" ;;
        dev-zero) rm -f "$f"; ln -s /dev/zero "$f" ;;
        folder) rm -f "$f"; mkdir "$f" ;;
        dangling-link) rm -f "$f"; ln -s "$work/nowhere" "$f" ;;
        link-as-temp) ln -s "$work/victim" "$f.tmp"; echo untouched > "$work/victim" ;;
    esac
}
fingerprint() { stat -c '%F %s %Y' "$1" 2>/dev/null || echo missing; }

printf '%-16s %-12s %-16s %-6s %s\n' file case ended "ms" "file afterwards"
for file in Settings.dl AResume.dl Letztes.dl; do
    for kind in empty garbage random-50MB larger-than-any fifo dev-zero folder dangling-link link-as-temp; do
        data="$work/$file-$kind/Ostrila/Tolvaro"
        export APPDATA="$work/$file-$kind"
        "$build/tolvaro" --book "$book" >/dev/null 2>&1 & # a first run makes the files
        sleep 3; kill -TERM $!; wait $! 2>/dev/null
        damage "$kind" "$data/$file"
        before="$(fingerprint "$data/$file")"
        start=$(date +%s%N)
        "$build/tolvaro" --book "$book" >/dev/null 2>&1 &
        pid=$!
        sleep 3
        kill -TERM $pid 2>/dev/null
        ended=no
        for _ in $(seq 1 100); do
            kill -0 $pid 2>/dev/null || { ended=yes; break; }
            sleep 0.1
        done
        [ $ended = yes ] || kill -KILL $pid 2>/dev/null
        wait $pid 2>/dev/null
        status=$?
        ms=$(( ($(date +%s%N) - start) / 1000000 - 3000 ))
        after="$(fingerprint "$data/$file")"
        if [ "$kind" = link-as-temp ]; then
            outcome="victim: $(cat "$work/victim")"
        elif [ "$before" = "$after" ]; then
            outcome="kept as it was"
        else
            outcome="rewritten: $("$build/tolvaro" --show-data "$data/$file" 2>/dev/null | head -c 60 | tr '\n' ' ')"
        fi
        printf '%-16s %-12s %-16s %-6s %s\n' "$file" "$kind" "$ended(exit $status)" "$ms" "$outcome"
    done
done
