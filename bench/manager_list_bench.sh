#!/usr/bin/env bash
# Times the manager's dictionary list for a library of 50 dictionaries of
# 100 000 entries each against 50 empty dictionaries, in one run.
#   goal: full <= 1.5 x empty
#
# Usage: bench/manager_list_bench.sh [BUILD_DIR] [WORK_DIR]
#   BUILD_DIR  a Release build with the manager (default build/release)
#   WORK_DIR   where the dictionaries (about 250 MB, made once) and a settings
#              store of its own go (default /tmp/vrk3-manager-bench)
# The timed run holds /tmp/vrk3-build.lock so that builds do not disturb it.
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$repo_root/build/release}")
work=$(realpath -m "${2:-/tmp/vrk3-manager-bench}")
[ -f "$build/build.ninja" ] || cmake -S "$repo_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
flock /tmp/vrk3-build.lock cmake --build "$build" --target manager_list_bench >/dev/null
mkdir -p "$work"
QT_QPA_PLATFORM=offscreen flock /tmp/vrk3-build.lock "$build/bench/manager_list_bench" "$work"
