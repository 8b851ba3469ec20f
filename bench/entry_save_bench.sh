#!/usr/bin/env bash
# Times saving one edited entry into the 1 000 000-entry dictionary in the
# finder (from the Save command to the entry window showing the saved state,
# with a result window of that dictionary open and a full undo history)
# against the store's own replacing of one entry of it, in turns within one
# run, and prints the ratio.
#   goal: finder <= 1.3 x store
#
# Usage: bench/entry_save_bench.sh [BUILD_DIR] [CORPUS_DIR] [RUNS]
#   BUILD_DIR   a Release build with the finder (default build/release)
#   CORPUS_DIR  where bench/prepare_corpus.sh wrote c1000000.rec (default /tmp/corpus)
# The timed runs hold /tmp/vrk3-build.lock so that builds do not disturb them.
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$repo_root/build/release}")
[ -f "$build/build.ninja" ] || cmake -S "$repo_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
corpus=$(realpath "${2:-/tmp/corpus}")
runs=${3:-5}
work=$corpus/entry_save_bench
mkdir -p "$work/temp"

[ -f "$corpus/c1000000.rec" ] || { echo "missing $corpus/c1000000.rec: run bench/prepare_corpus.sh first" >&2; exit 2; }
flock /tmp/vrk3-build.lock cmake --build "$build" --target entry_save_bench make_dictionary vrk3tool >/dev/null
tool=$build/tools/vrk3tool

# A dictionary of its own (the program lets it accept changes); every run
# changes it.
dict=$work/c1000000.vrk3
rm -f "$dict"
"$build/bench/make_dictionary" "$corpus/c1000000.rec" "$dict" >/dev/null
export VRK3_SETTINGS_DIR=$work/settings
rm -rf "$VRK3_SETTINGS_DIR"
mkdir -p "$VRK3_SETTINGS_DIR"
"$tool" settings set --raw 'HKEY_LOCAL_MACHINE\SOFTWARE\Tavro\Verbatrakon III' BackupDir "$work/temp" >/dev/null
"$tool" settings set --raw 'HKEY_LOCAL_MACHINE\SOFTWARE\Tavro\Verbatrakon III' InstallPath "$repo_root/resources" >/dev/null
read -r finder store < <(QT_QPA_PLATFORM=offscreen flock /tmp/vrk3-build.lock "$build/bench/entry_save_bench" "$dict" "$runs")
rm -f "$dict"
[ -n "${store:-}" ] || { echo "entry_save_bench failed" >&2; exit 1; }

python3 "$repo_root/bench/ratio_report.py" \
  "saving one edited entry of a 1 000 000-entry dictionary" 1.3 \
  "store replace" "$store" "finder Save" "$finder"
