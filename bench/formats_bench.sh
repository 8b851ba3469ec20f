#!/usr/bin/env bash
# Runs the search, import and export benchmarks beside their baselines in
# one run and prints the ratios (ours / baseline) with the goals:
#   search, letters              <= 1.0 x grep -c
#   search, letters + one word   <= 1.0 x grep -c
#   import of 100 000 entries    <= 3.0 x one rewrite of the dictionary
#   export (each format)         <= 2.0 x LC_ALL=C sort
#
# Usage: bench/formats_bench.sh [BUILD_DIR] [CORPUS_DIR]
#   BUILD_DIR   a Release build with the benchmarks (default build/release)
#   CORPUS_DIR  where bench/prepare_corpus.sh wrote the corpus (default /tmp/corpus)
# The run holds /tmp/vrk3-build.lock so that builds do not disturb it. The
# files made from the corpus are kept in CORPUS_DIR/formats_bench; remove that
# folder after the corpus changes.
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$repo_root/build/release}")
[ -f "$build/build.ninja" ] || cmake -S "$repo_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
corpus=$(realpath "${2:-/tmp/corpus}")
work=$corpus/formats_bench
mkdir -p "$work"

for f in c1000000.rec c1000000.txt imp.rec; do
  [ -f "$corpus/$f" ] || { echo "missing $corpus/$f: run bench/prepare_corpus.sh first" >&2; exit 2; }
done
flock /tmp/vrk3-build.lock cmake --build "$build" --target formats_bench make_dictionary vrk3tool >/dev/null

# The dictionaries, and the import set in the second-generation and CSV forms.
[ -f "$work/c1000000.vrk3" ] || "$build/bench/make_dictionary" "$corpus/c1000000.rec" "$work/c1000000.vrk3" >/dev/null
if [ ! -f "$work/imp.vrk" ] || [ ! -f "$work/imp.csv" ]; then
  "$build/bench/make_dictionary" "$corpus/imp.rec" "$work/imp.vrk3" >/dev/null
  TMPDIR=$work "$build/tools/vrk3tool" export vrk "$work/imp.vrk3" "$work/imp.vrk" --force
  TMPDIR=$work "$build/tools/vrk3tool" export csv "$work/imp.vrk3" "$work/imp.csv" --force
fi

export VRK3_BENCH_DICT=$work/c1000000.vrk3
export VRK3_BENCH_TEXT=$corpus/c1000000.txt
export VRK3_BENCH_IMPORT_VRK=$work/imp.vrk
export VRK3_BENCH_IMPORT_CSV=$work/imp.csv
export VRK3_BENCH_WORK=$work/scratch
# Bring every input into the page cache, as the baselines find theirs.
cat "$VRK3_BENCH_DICT" "$VRK3_BENCH_TEXT" "$VRK3_BENCH_IMPORT_VRK" "$VRK3_BENCH_IMPORT_CSV" >/dev/null

json=$work/result.json
flock /tmp/vrk3-build.lock "$build/bench/formats_bench" --benchmark_out="$json" \
  --benchmark_out_format=json >&2

python3 - "$json" <<'EOF'
import json, sys
runs = {b["name"].split("/")[0]: b for b in json.load(open(sys.argv[1]))["benchmarks"]}
def ms(name): return runs[name]["real_time"]
rows = [
    ("search, 5 letters (2 known)", "BM_SearchLetters", "BM_GrepLetters", 1.0),
    ("search, letters + 1 word", "BM_SearchLettersAndWord", "BM_GrepLettersAndWord", 1.0),
    ("import 100k, second gen.", "BM_ImportSecondGen", "BM_RewriteOnce", 3.0),
    ("import 100k, CSV", "BM_ImportCsv", "BM_RewriteOnce", 3.0),
    ("export 1M, second gen.", "BM_ExportSecondGen", "BM_SortBaseline", 2.0),
    ("export 1M, first gen.", "BM_ExportFirstGen", "BM_SortBaseline", 2.0),
    ("export 1M, CSV", "BM_ExportCsv", "BM_SortBaseline", 2.0),
]
ok = True
print(f"{'operation':30} {'ours ms':>9} {'baseline ms':>12} {'ratio':>7} {'goal':>6}")
for label, ours, base, goal in rows:
    ratio = ms(ours) / ms(base)
    ok &= ratio <= goal
    print(f"{label:30} {ms(ours):9.1f} {ms(base):12.1f} {ratio:7.2f} {goal:6.1f}"
          f"{'' if ratio <= goal else '  MISSED'}")
for ours, base in (("BM_SearchLetters", "BM_GrepLetters"),
                   ("BM_SearchLettersAndWord", "BM_GrepLettersAndWord")):
    a, b = runs[ours].get("matches"), runs[base].get("matches")
    print(f"matches {ours}: {a:.0f}, {base}: {b:.0f}" + ("" if a == b else "  DIFFER"))
    ok &= a == b
sys.exit(0 if ok else 1)
EOF
