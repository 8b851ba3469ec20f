#!/usr/bin/env bash
# Times a search over a library of 10 dictionaries with 100 000 entries each,
# once with vrk3tool search and once with the finder (from the Search command
# to the result window on screen), in one run, and prints the ratio.
#   goal: finder <= 1.5 x vrk3tool search
#
# Usage: bench/search_ui_bench.sh [BUILD_DIR] [CORPUS_DIR] [PATTERN]
#   BUILD_DIR   a Release build with the finder (default build/release)
#   CORPUS_DIR  where bench/prepare_corpus.sh wrote c1000000.rec (default /tmp/corpus)
#   PATTERN     the known letters (default "**a**t**e", a full scan that finds
#               fewer than 500 words)
# The timed runs hold /tmp/vrk3-build.lock so that builds do not disturb them.
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$repo_root/build/release}")
[ -f "$build/build.ninja" ] || cmake -S "$repo_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
corpus=$(realpath "${2:-/tmp/corpus}")
pattern=${3:-"**a**t**e"}
runs=5
work=$corpus/search_ui_bench
mkdir -p "$work/temp"

[ -f "$corpus/c1000000.rec" ] || { echo "missing $corpus/c1000000.rec: run bench/prepare_corpus.sh first" >&2; exit 2; }
flock /tmp/vrk3-build.lock cmake --build "$build" --target search_ui_bench make_dictionary vrk3tool >/dev/null
tool=$build/tools/vrk3tool

# Ten dictionaries of 100 000 entries each: the corpus cut into ten parts.
dicts=()
for i in $(seq 0 9); do
  d=$work/part$i.vrk3
  dicts+=("$d")
  [ -f "$d" ] && continue
  python3 - "$corpus/c1000000.rec" "$work/part$i.rec" "$i" <<'PY'
import sys
records = open(sys.argv[1], "rb").read().split(b"\0")[:-1]
part = int(sys.argv[3])
with open(sys.argv[2], "wb") as out:
    for r in records[part * 100000:(part + 1) * 100000]:
        out.write(r + b"\0")
PY
  "$build/bench/make_dictionary" "$work/part$i.rec" "$d" >/dev/null
  rm -f "$work/part$i.rec"
done

# A settings store of its own with the ten dictionaries as the active library.
export VRK3_SETTINGS_DIR=$work/settings
rm -rf "$VRK3_SETTINGS_DIR"
mkdir -p "$VRK3_SETTINGS_DIR"
"$tool" settings set --raw 'HKEY_LOCAL_MACHINE\SOFTWARE\Tavro\Verbatrakon III' BackupDir "$work/temp" >/dev/null
"$tool" settings set --raw 'HKEY_LOCAL_MACHINE\SOFTWARE\Tavro\Verbatrakon III' InstallPath "$repo_root/resources" >/dev/null
"$tool" library create Bench >/dev/null
for d in "${dicts[@]}"; do "$tool" library add Bench "$d" >/dev/null; done
"$tool" settings set 'HKEY_CURRENT_USER\Software\Tavro\Verbatrakon III\Fndr' ActiveLib Bench >/dev/null
cat "${dicts[@]}" >/dev/null  # both sides find the files in the page cache

cat >"$work/time_tool.py" <<'PY'
import subprocess, sys, time
tool, pattern, runs, dicts = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4:]
best, count = 1e30, 0
for _ in range(runs):
    start = time.perf_counter()
    out = subprocess.run([tool, "search", pattern, "", *dicts], capture_output=True, check=True).stdout
    best = min(best, (time.perf_counter() - start) * 1000)
    count = out.count(b"\n")
print(f"{best:.3f} {count}")
PY
read -r tool_time tool_found < <(flock /tmp/vrk3-build.lock python3 "$work/time_tool.py" "$tool" "$pattern" "$runs" "${dicts[@]}")
read -r finder_time finder_found < <(QT_QPA_PLATFORM=offscreen flock /tmp/vrk3-build.lock "$build/bench/search_ui_bench" "$pattern" "$runs")

python3 "$repo_root/bench/ratio_report.py" \
  "search of 10 x 100 000 entries ($tool_found found by vrk3tool, $finder_found by the finder)" 1.5 \
  "vrk3tool search" "$tool_time" finder "$finder_time"
