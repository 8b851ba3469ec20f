#!/usr/bin/env bash
# The manager's jobs on 1 000 000 entries, in one run:
#   import of a CSV through the manager's job   <= 1.2 x vrk3tool import csv
#   the progress bar stands still               <= 500 ms (import, export, remap)
#   cancel until the worker has ended           <= 500 ms (import, export, remap)
#
# Usage: bench/manager_job_bench.sh [BUILD_DIR] [CORPUS_DIR] [RUNS]
#   BUILD_DIR   a Release build with the manager (default build/release)
#   CORPUS_DIR  where bench/prepare_corpus.sh wrote the corpus (default /tmp/corpus)
# The CSV and the dictionary made from the corpus are kept in
# CORPUS_DIR/manager_job_bench. The timed run holds /tmp/vrk3-build.lock so
# that builds do not disturb it.
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$repo_root/build/release}")
corpus=$(realpath "${2:-/tmp/corpus}")
runs=${3:-3}
work=$corpus/manager_job_bench
[ -f "$build/build.ninja" ] || cmake -S "$repo_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
for f in c1000000.rec c1000000.txt; do
  [ -f "$corpus/$f" ] || { echo "missing $corpus/$f: run bench/prepare_corpus.sh first" >&2; exit 2; }
done
flock /tmp/vrk3-build.lock cmake --build "$build" --target manager_job_bench make_dictionary vrk3tool >/dev/null
mkdir -p "$work"

# The corpus as CSV (word, then its descriptions) and as a dictionary.
if [ ! -f "$work/c1000000.csv" ]; then
  awk -F'\t' '{ print $1 "," $2 }' "$corpus/c1000000.txt" > "$work/.partial.csv"
  mv -f "$work/.partial.csv" "$work/c1000000.csv"
fi
[ -f "$work/c1000000.vrk3" ] || "$build/bench/make_dictionary" "$corpus/c1000000.rec" "$work/c1000000.vrk3" >/dev/null
cat "$work/c1000000.csv" "$work/c1000000.vrk3" >/dev/null

QT_QPA_PLATFORM=offscreen flock /tmp/vrk3-build.lock "$build/bench/manager_job_bench" \
  "$work/run" "$work/c1000000.csv" "$work/c1000000.vrk3" "$build/tools/vrk3tool" "$runs"
