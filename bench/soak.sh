#!/usr/bin/env bash
# Runs the soak test (bench/soak.cpp): the finder's, the manager's and the
# tool's operations at once on one library of generated dictionaries, on a
# real disk, for SECONDS (default 600), then checks every committed entry.
#
# Usage: bench/soak.sh [SECONDS] [more soak options: --dictionaries N --entries N --dir DIR]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-600}
shift || true
build=$root/build/release
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target soak >/dev/null
"$build/bench/soak" --seconds "$seconds" "$@"
