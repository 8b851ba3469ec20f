#!/usr/bin/env bash
# Runs the extended-pattern and anagram benchmarks beside GNU grep in one run
# and prints the ratios (ours / grep) with the goal of 1.0 for each:
#   a set ([kp]*[čšž]*[^aeiou], six letters), a class (#@#@#@#, seven
#   letters), a suffix (%ica), an anagram of seven letters (karotin; grep
#   gets both the alternation of every order of the letters and Perl-style
#   look-aheads, and the faster of the two counts)
# and that both found the same number of entries.
#
# Usage: bench/pattern_bench.sh [BUILD_DIR] [CORPUS_DIR]
#   BUILD_DIR   a Release build with the benchmarks (default build/release)
#   CORPUS_DIR  where bench/prepare_corpus.sh wrote the corpus (default /tmp/corpus)
# The run holds /tmp/vrk3-build.lock so that builds do not disturb it. The
# dictionary made from the corpus is kept in CORPUS_DIR/pattern_bench;
# remove that folder after the corpus changes.
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$repo_root/build/release}")
[ -f "$build/build.ninja" ] || cmake -S "$repo_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
corpus=$(realpath "${2:-/tmp/corpus}")
work=$corpus/pattern_bench
mkdir -p "$work"

for f in c1000000.rec c1000000.txt; do
  [ -f "$corpus/$f" ] || { echo "missing $corpus/$f: run bench/prepare_corpus.sh first" >&2; exit 2; }
done
flock /tmp/vrk3-build.lock cmake --build "$build" --target pattern_bench make_dictionary >/dev/null

[ -f "$work/c1000000.vrk3" ] || "$build/bench/make_dictionary" "$corpus/c1000000.rec" "$work/c1000000.vrk3" >/dev/null

export VRK3_BENCH_DICT=$work/c1000000.vrk3
export VRK3_BENCH_TEXT=$corpus/c1000000.txt
export VRK3_BENCH_WORK=$work/scratch
# Bring both inputs into the page cache, as grep finds its text.
cat "$VRK3_BENCH_DICT" "$VRK3_BENCH_TEXT" >/dev/null

json=$work/result.json
flock /tmp/vrk3-build.lock "$build/bench/pattern_bench" --benchmark_out="$json" \
  --benchmark_out_format=json >&2

python3 - "$json" <<'PY'
import json, sys
runs = {b["name"].split("/")[0]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
ok = True
print(f"{'pattern':30} {'ours ms':>9} {'grep ms':>9} {'ratio':>7} {'goal':>6} {'matches':>9}")
for label, kind in (("set [kp]*[čšž]*[^aeiou]", "Set"), ("class #@#@#@#", "Class"),
                    ("suffix %ica", "Suffix"), ("anagram karotin", "Anagram")):
    ours, grep = runs["BM_Search" + kind], runs["BM_Grep" + kind]
    # Anagrams have two equivalent expressions (alternation, look-aheads):
    # the faster grep run is the baseline.
    perl = runs.get("BM_GrepPerl" + kind)
    if perl and perl["real_time"] < grep["real_time"]:
        ok &= perl["matches"] == grep["matches"]
        grep = perl
    ratio = ours["real_time"] / grep["real_time"]
    same = ours["matches"] == grep["matches"]
    ok &= ratio <= 1.0 and same
    print(f"{label:30} {ours['real_time']:9.1f} {grep['real_time']:9.1f} {ratio:7.2f} {1.0:6.1f}"
          f" {ours['matches']:9.0f}" + ("" if ratio <= 1.0 else "  MISSED")
          + ("" if same else f"  DIFFER (grep {grep['matches']:.0f})"))
sys.exit(0 if ok else 1)
PY
