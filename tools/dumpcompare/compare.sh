#!/usr/bin/env bash
# Compares the tables two builds read books into: `--dump-tables` of each book, byte for byte.
# Books: those in ../shared/books, the benchmark book, and COUNT generated ones (genbooks.py).
# Usage: [SEED=N] tools/dumpcompare/compare.sh OLD_TOLVARO NEW_TOLVARO [COUNT] [BENCH_LOADING]
set -uo pipefail
old="$1"; new="$2"; count="${3:-300}"; bench="${4:-}"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/genbooks.py" "$work/generated" "$count" "${SEED:-1}"
books=("$here"/../../../shared/books/*/ "$work"/generated/*/)
if [ -n "$bench" ]; then
    "$bench" --write-book "$work/bench" >/dev/null && books+=("$work/bench/")
fi
same=0; differ=0
for book in "${books[@]}"; do
    [ -f "$book/ncc.html" ] || [ -f "$book/NCC.HTML" ] || continue
    "$old" --dump-tables "$book" >"$work/old" 2>&1
    "$new" --dump-tables "$book" >"$work/new" 2>&1
    if cmp -s "$work/old" "$work/new"; then
        same=$((same + 1))
    else
        differ=$((differ + 1)); echo "differs: $book"
    fi
done
echo "books: $((same + differ)), identical: $same, different: $differ"
[ "$differ" -eq 0 ]
