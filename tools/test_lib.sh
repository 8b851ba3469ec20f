# Shared by the black-box scripts of vrk3tool; source it with the tool's path
# as $1. A private working folder (also TMPDIR and the current folder; on the
# RAM-backed /dev/shm when it can be, so that flushes cost nothing), `check`,
# `exits` and `finish`, which prints "N passed, M failed" and sets the status.
set -u
tool=$(realpath "$1")
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"
# The tool reads the stored alphabet row: never the user's own settings.
export VRK3_SETTINGS_DIR="$work/settings"
cd "$work" || exit 1
failures=0
checks=0
check() {  # check NAME EXPECTED ACTUAL
  checks=$((checks + 1))
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"; echo "  expected: $2"; echo "  actual:   $3"; failures=$((failures + 1))
  fi
}
exits() {  # exits NAME STATUS TEXT COMMAND...: it exits STATUS, a line of its stderr holds TEXT
  local name=$1 status=$2 text=$3
  shift 3
  "$@" >"$work/stdout.txt" 2>"$work/stderr.txt"
  check "$name" "$status" $?
  check "$name-says" 1 "$(grep -cF -- "$text" "$work/stderr.txt")"
}
finish() {
  echo "$((checks - failures)) passed, $failures failed"
  [ "$failures" -eq 0 ]
}
