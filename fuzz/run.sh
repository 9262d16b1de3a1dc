#!/usr/bin/env bash
# Builds a fuzz target with clang and runs it: inputs up to 1 MB, at most 10 s each (a reader
# slower than linear shows as a timeout), for SECONDS in all (default 600). Seeds an empty corpus
# from the books in ../shared/books: for fuzz_readers (the default) the ncc.html and first SMIL
# file of each, for fuzz_text (the search's text pass) the first text document of each, for
# fuzz_daisy3 the NCX and first SMIL file of each DAISY 3 book.
# Usage: [FUZZ_TARGET=fuzz_text|fuzz_daisy3] fuzz/run.sh [SECONDS] [CORPUS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
target="${FUZZ_TARGET:-fuzz_readers}"
corpus="${2:-$root/build-fuzz/corpus-$target}"
cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DTOLVARO_FUZZ=ON >/dev/null
cmake --build "$root/build-fuzz" --target "$target"
mkdir -p "$corpus"
if [ -z "$(ls -A "$corpus")" ] && [ -d "$root/../shared/books" ]; then
    for book in "$root"/../shared/books/*/; do
        name="$(basename "$book")"
        if [ "$target" = fuzz_text ]; then
            text="$(ls "$book"*.html 2>/dev/null | grep -iv 'ncc.html$' | head -n 1 || true)"
            [ -n "$text" ] && cp "$text" "$corpus/$name"
            continue
        fi
        smil="$(ls "$book"*.smil 2>/dev/null | head -n 1 || true)"
        if [ "$target" = fuzz_daisy3 ]; then
            ncx="$(ls "$book"*.ncx 2>/dev/null | head -n 1 || true)"
            [ -n "$ncx" ] && { cat "$ncx"; printf '\377'; cat "$smil"; } > "$corpus/$name"
            continue
        fi
        { cat "$book"ncc.html; printf '\377'; [ -n "$smil" ] && cat "$smil"; } > "$corpus/$name" || true
    done
fi
exec "$root/build-fuzz/fuzz/$target" -max_len=1048576 -len_control=0 -timeout=10 -rss_limit_mb=4096 \
    -max_total_time="$seconds" "$corpus"
