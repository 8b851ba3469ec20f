#!/usr/bin/env bash
# Times `vrk3tool dump` of the dictionary "Slovenske besede" (the build makes
# it from hunspell-sl) against `vrk3tool export csv` of the same dictionary,
# in turns within one run, and prints the ratio. Both read every entry once;
# the export also sorts them.
#   goal: dump <= 1.5 x export csv
#
# Usage: bench/dump_bench.sh [BUILD_DIR] [WORK_DIR] [RUNS]
#   BUILD_DIR  a Release build (default build/release)
#   WORK_DIR   scratch folder, kept out of the repository (default /tmp/corpus/dump)
#   RUNS       timed runs of each; the fastest counts (default 5)
# The timed runs hold /tmp/vrk3-build.lock so that builds do not disturb them.
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$repo_root/build/release}")
work=$(realpath -m "${2:-/tmp/corpus/dump}")
runs=${3:-5}

[ -f /usr/share/hunspell/sl_SI.dic ] ||
  { echo "dump_bench: needs hunspell-sl (scripts/install-deps)" >&2; exit 2; }
[ -f "$build/build.ninja" ] || cmake -S "$repo_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
flock /tmp/vrk3-build.lock cmake --build "$build" --target vrk3tool vrk3_word_list >/dev/null
tool=$build/tools/vrk3tool
words=$build/resources/words/slovenske-besede.vrk3
[ -f "$words" ] || { echo "dump_bench: the build made no $words" >&2; exit 1; }

mkdir -p "$work/temp"
export VRK3_SETTINGS_DIR=$work/settings TMPDIR=$work/temp
rm -rf "$VRK3_SETTINGS_DIR"
mkdir -p "$VRK3_SETTINGS_DIR"
dict=$work/slovenske-besede.vrk3
cp "$words" "$dict"
entries=$("$tool" info "$dict" | sed -n 's/^entries: //p')

read -r dump export < <(flock /tmp/vrk3-build.lock python3 - "$tool" "$dict" "$work/out.csv" "$runs" <<'PY'
import os, subprocess, sys, time
tool, dict_path, target, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
def timed(cmd):
    start = time.perf_counter()
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL)
    return (time.perf_counter() - start) * 1000
dump = export = 1e30
for _ in range(runs):  # in turns, so that both see the same machine
    dump = min(dump, timed([tool, "dump", dict_path]))
    if os.path.exists(target):
        os.remove(target)
    export = min(export, timed([tool, "export", "csv", dict_path, target, "--force"]))
print(f"{dump:.1f} {export:.1f}")
PY
)
rm -f "$dict" "$work/out.csv"

python3 "$repo_root/bench/ratio_report.py" "dumping \"Slovenske besede\" ($entries entries)" 1.5 \
  "export csv" "$export" dump "$dump"
