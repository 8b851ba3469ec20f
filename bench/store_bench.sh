#!/usr/bin/env bash
# Runs the store benchmarks on the 1 000 000-entry corpus dictionary and
# prints each figure as a ratio against its baseline, measured in the same
# run:
#   header reads, 1M-entry dictionary / empty dictionary      (goal <= 2)
#   replacing one entry of it / writing + fsync of its size    (goal <= 2)
#
# Usage: bench/store_bench.sh [CORPUS_DIR]   (default /tmp/corpus)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
corpus=${1:-/tmp/corpus}
"$root/bench/prepare_corpus.sh" "$corpus"

build=$root/build/release
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target make_dictionary store_bench >/dev/null
dict=$corpus/c1000000.vrk3
[ -f "$dict" ] || "$build/bench/make_dictionary" "$corpus/c1000000.rec" "$dict"

out=$(mktemp)
trap 'rm -f "$out"; rm -rf "$corpus/store_bench"' EXIT
VRK3_BENCH_DICT=$dict "$build/bench/store_bench" --benchmark_format=json >"$out"
python3 - "$out" <<'PY'
import json, sys
runs = {b["name"].split("/")[0]: b["real_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[b["time_unit"]]
        for b in json.load(open(sys.argv[1]))["benchmarks"]}
def ratio(label, ours, base):
    print(f"{label:<52} {runs[ours]:9.3f} ms / {runs[base]:9.3f} ms = {runs[ours] / runs[base]:.2f}")
ratio("header reads: 1M-entry / empty dictionary", "BM_HeaderReadsLarge", "BM_HeaderReadsEmpty")
ratio("replace one entry / write+fsync of same size", "BM_ReplaceOneEntry", "BM_WriteAndFlushSameSize")
PY
