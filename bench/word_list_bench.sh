#!/usr/bin/env bash
# Times the dictionary "Slovenske besede" in one run:
# 1. importing the expanded word forms of hunspell-sl (unmunch output, made
#    once and not timed) with `vrk3tool import words` into a new dictionary,
#    against `LC_ALL=C sort -u` of the same file;      goal: import <= 2 x sort -u
#    the same list in UTF-8 is timed too, for the other decoder;
# 2. the finder's search over the made dictionary, from the Search command
#    to the result window, against `vrk3tool search` over it, the baseline
#    that bench/search_ui_bench.sh uses for every other library;
#                                                     goal: finder <= 1.5 x vrk3tool search
#    and against the finder's search over another dictionary of the same
#    size (the same words in a shuffled order, made by make_dictionary with
#    the usual flags);                                goal: <= 1.15 x the other dictionary
#
# Usage: bench/word_list_bench.sh [BUILD_DIR] [WORK_DIR] [PATTERN]
#   BUILD_DIR  a Release build (default build/release)
#   WORK_DIR   scratch folder, kept out of the repository (default /tmp/corpus/word_list)
#   PATTERN    known letters for the search (default "**a**t**e": a full
#              scan that finds fewer than 500 words)
# The timed runs hold /tmp/vrk3-build.lock so that builds do not disturb them.
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$repo_root/build/release}")
work=$(realpath -m "${2:-/tmp/corpus/word_list}")
pattern=${3:-"**a**t**e"}
runs=5
dic=/usr/share/hunspell/sl_SI.dic
aff=/usr/share/hunspell/sl_SI.aff

command -v unmunch >/dev/null && [ -f "$dic" ] ||
  { echo "word_list_bench: needs hunspell-sl and hunspell-tools (scripts/install-deps)" >&2; exit 2; }
[ -f "$build/build.ninja" ] || cmake -S "$repo_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
flock /tmp/vrk3-build.lock cmake --build "$build" \
  --target vrk3tool search_ui_bench make_dictionary vrk3_word_list >/dev/null
tool=$build/tools/vrk3tool
words=$build/resources/words/slovenske-besede.vrk3

mkdir -p "$work/temp"
if [ ! -s "$work/forms.txt" ]; then
  unmunch "$dic" "$aff" 2>/dev/null >"$work/.forms.txt"
  mv "$work/.forms.txt" "$work/forms.txt"
fi
iconv -f ISO-8859-2 -t UTF-8 "$work/forms.txt" >"$work/forms-utf8.txt"
export VRK3_SETTINGS_DIR=$work/settings TMPDIR=$work/temp
rm -rf "$VRK3_SETTINGS_DIR"
mkdir -p "$VRK3_SETTINGS_DIR"

cat >"$work/time_runs.py" <<'PY'
import os, subprocess, sys, time
# time_runs.py RUNS REMOVE_FIRST CMD...: the fastest of RUNS runs in ms;
# REMOVE_FIRST ("-" for none) is deleted before each run.
runs, remove, cmd = int(sys.argv[1]), sys.argv[2], sys.argv[3:]
best = 1e30
for _ in range(runs):
    if remove != "-" and os.path.exists(remove):
        os.remove(remove)
    start = time.perf_counter()
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, env=dict(os.environ, LC_ALL="C"))
    best = min(best, (time.perf_counter() - start) * 1000)
print(f"{best:.3f}")
PY
timed() { flock /tmp/vrk3-build.lock python3 "$work/time_runs.py" "$runs" "$@"; }
cat "$work/forms.txt" "$work/forms-utf8.txt" >/dev/null  # both sides read from the page cache

sort_ms=$(timed "$work/sorted.txt" sort -u "$work/forms.txt" -o "$work/sorted.txt")
import_ms=$(timed "$work/w.vrk3" "$tool" import words "$work/forms.txt" "$work/w.vrk3" --encoding ISO-8859-2)
utf8_ms=$(timed "$work/w.vrk3" "$tool" import words "$work/forms-utf8.txt" "$work/w.vrk3")
lines=$(wc -l <"$work/forms.txt")
distinct=$(wc -l <"$work/sorted.txt")
entries=$("$tool" info "$work/w.vrk3" | sed -n 's/^entries: //p')

# The search: the made dictionary, and the same words shuffled in an
# ordinary dictionary, each the active library in turn.
[ -f "$words" ] || { echo "word_list_bench: $words was not made" >&2; exit 2; }
fndr='HKEY_CURRENT_USER\Software\Tavro\Verbatrakon III\Fndr'
iconv -f ISO-8859-2 -t CP1250 "$work/sorted.txt" |
  python3 -c 'import random, sys
words = sys.stdin.buffer.read().split(b"\n")[:-1]
random.Random(1).shuffle(words)
sys.stdout.buffer.write(b"".join(w + b"\0" for w in words))' >"$work/other.rec"
"$build/bench/make_dictionary" "$work/other.rec" "$work/other.vrk3" >/dev/null
"$tool" settings set --raw 'HKEY_LOCAL_MACHINE\SOFTWARE\Tavro\Verbatrakon III' BackupDir "$work/temp" >/dev/null
"$tool" settings set --raw 'HKEY_LOCAL_MACHINE\SOFTWARE\Tavro\Verbatrakon III' InstallPath "$repo_root/resources" >/dev/null
"$tool" settings set --number 'HKEY_CURRENT_USER\Software\Tavro\Verbatrakon III' Run 1 >/dev/null
"$tool" library create Besede >/dev/null
"$tool" library add Besede "$words" >/dev/null
"$tool" library create Drugi >/dev/null
"$tool" library add Drugi "$work/other.vrk3" >/dev/null
cat "$words" "$work/other.vrk3" >/dev/null
tool_ms=$(timed - "$tool" search "$pattern" '' "$words")
found=$("$tool" search --max 100000 "$pattern" '' "$words" | wc -l)
finder() {  # finder LIBRARY: the fastest run in ms and the number found
  "$tool" settings set "$fndr" ActiveLib "$1" >/dev/null
  QT_QPA_PLATFORM=offscreen flock /tmp/vrk3-build.lock \
    "$build/bench/search_ui_bench" "$pattern" "$runs" 2>/dev/null
}
read -r finder_ms finder_found < <(finder Besede)
read -r other_ms other_found < <(finder Drugi)

python3 - "$lines" "$distinct" "$entries" "$sort_ms" "$import_ms" "$utf8_ms" \
  "$pattern" "$found" "$finder_found" "$other_found" "$tool_ms" "$finder_ms" "$other_ms" <<'PY'
import sys
lines, distinct, entries = map(int, sys.argv[1:4])
sort_ms, import_ms, utf8_ms = map(float, sys.argv[4:7])
pattern = sys.argv[7]
found, finder_found, other_found = map(int, sys.argv[8:11])
tool_ms, finder_ms, other_ms = map(float, sys.argv[11:14])
ok = True
def line(name, ms, base, goal=None):
    global ok
    ratio = ms / base
    verdict = ""
    if goal is not None:
        verdict = f"(goal <= {goal:.2f}) " + ("ok" if ratio <= goal else "MISSED")
        ok = ok and ratio <= goal
    print(f"  {name:<34} {ms:9.1f} ms   ratio {ratio:5.2f}   {verdict}")
print(f"import of {lines} word forms ({distinct} distinct, {entries} entries made)")
print(f"  {'LC_ALL=C sort -u':<34} {sort_ms:9.1f} ms")
line("vrk3tool import words (ISO-8859-2)", import_ms, sort_ms, 2.0)
line("vrk3tool import words (UTF-8)", utf8_ms, sort_ms)
if entries != distinct:
    print("  MISSED: the dictionary should hold every distinct form once"); ok = False
print(f"search \"{pattern}\" in Slovenske besede ({found} found by vrk3tool, {finder_found} by the finder)")
print(f"  {'vrk3tool search':<34} {tool_ms:9.1f} ms")
line("finder", finder_ms, tool_ms, 1.5)
print(f"the finder's search, Slovenske besede against the same words shuffled ({other_found} found)")
print(f"  {'finder, the shuffled dictionary':<34} {other_ms:9.1f} ms")
line("finder, Slovenske besede", finder_ms, other_ms, 1.15)
if not found == finder_found == other_found:
    print("  MISSED: the three searches should find the same words"); ok = False
sys.exit(0 if ok else 1)
PY
