#!/usr/bin/env bash
# Builds the fuzz target with clang and runs it: inputs up to 1 MB, at most 10 s each (a reader
# slower than linear shows as a timeout), for SECONDS in all (default 600). Seeds the corpus
# with the ncc.html and first SMIL file of each book in ../shared/books when it is empty.
# Usage: fuzz/run.sh [SECONDS] [CORPUS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
corpus="${2:-$root/build-fuzz/corpus}"
cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTOLVARO_FUZZ=ON >/dev/null
cmake --build "$root/build-fuzz" --target fuzz_readers
mkdir -p "$corpus"
if [ -z "$(ls -A "$corpus")" ] && [ -d "$root/../shared/books" ]; then
    for book in "$root"/../shared/books/*/; do
        name="$(basename "$book")"
        smil="$(ls "$book"*.smil 2>/dev/null | head -n 1 || true)"
        { cat "$book"ncc.html; printf '\377'; [ -n "$smil" ] && cat "$smil"; } > "$corpus/$name" || true
    done
fi
exec "$root/build-fuzz/fuzz/fuzz_readers" -max_len=1048576 -len_control=0 -timeout=10 -rss_limit_mb=4096 \
    -max_total_time="$seconds" "$corpus"
