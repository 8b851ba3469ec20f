#!/usr/bin/env bash
# Makes the seed corpus of every fuzz harness (fuzz/corpus/NAME) with our own
# command-line tool: small dictionaries, their older-format exports, typed
# search texts and a settings store with a library. Run it again when a
# format changes: fuzz/make_corpus.sh build/release/tools/vrk3tool
set -euo pipefail
tool=$(realpath "$1")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
corpus=$here/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VRK3_SETTINGS_DIR=$work/settings
mkdir -p "$VRK3_SETTINGS_DIR"

# Seeds are written over; inputs kept from findings stay beside them.
for f in "$here"/*_fuzz.cpp; do
  h=${f##*/}
  mkdir -p "$corpus/${h%_fuzz.cpp}"
done

# Dictionaries: empty; a few entries with data and a picture; one long entry.
"$tool" create "$work/empty.vrk3" >/dev/null
"$tool" create --name "Reke" --author "Ana" --notes "vrstica 1" --password "geslo" --flags 6 \
  "$work/reke.vrk3" >/dev/null
"$tool" add "$work/reke.vrk3" REKA "vodni tok" "Sava" >/dev/null
"$tool" add "$work/reke.vrk3" OSA "žuželka" >/dev/null
"$tool" add "$work/reke.vrk3" "STARA MAMA" "babica; \"nona\"" "mati, očeta" >/dev/null
"$tool" add "$work/reke.vrk3" SAM >/dev/null
printf 'BMslika' >"$work/picture.bmp"
"$tool" picture --set "$work/picture.bmp" "$work/reke.vrk3" >/dev/null
"$tool" create "$work/long.vrk3" >/dev/null
"$tool" add "$work/long.vrk3" DOLGA "$(printf 'beseda %.0s' $(seq 1 60))" >/dev/null
cp "$work/empty.vrk3" "$corpus/dictionary/empty"
cp "$work/reke.vrk3" "$corpus/dictionary/reke"
cp "$work/long.vrk3" "$corpus/dictionary/long"

# Searches: syntax byte, pattern, terms, then a dictionary.
seed=0
search_seed() {
  { printf '%s%s\n%s\n' "$1" "$2" "$3"; cat "$work/reke.vrk3"; } >"$corpus/search/seed$seed"
  seed=$((seed + 1))
}
search_seed 0 'R*KA00' 'tok'
search_seed 1 '[^aeiou]%A10' '+"vodni tok" -x'
search_seed 2 'ASO00' "'babica'"
search_seed 3 '@#%01' '=Sava stara'
search_seed 0 '00' ''

# Older formats, written by the tool's exports.
"$tool" export vrk "$work/reke.vrk3" "$corpus/import_second_gen/reke" >/dev/null
"$tool" export text "$work/reke.vrk3" "$corpus/import_first_gen/reke" >/dev/null
"$tool" export text "$work/long.vrk3" "$corpus/import_first_gen/long" >/dev/null
"$tool" export csv "$work/reke.vrk3" "$corpus/import_csv/reke" >/dev/null
"$tool" export csv --separator ';' "$work/long.vrk3" "$corpus/import_csv/long" >/dev/null
cp "$corpus/import_csv/reke" "$corpus/csv_line/reke"
printf 'a,"b;c",d\r\n"x""y";z\rkonec\n' >"$corpus/csv_line/quotes"

# Typed search texts.
printf '%s' '+"stara mama" -x =y '"'pol ure'" >"$corpus/search_text/terms"
printf '%s' '[čšž]%@#10' >"$corpus/search_text/extended"
printf '%s' '[^aeiou]*]01' >"$corpus/search_text/stray"
printf '%s' 'm*za00' >"$corpus/search_text/plain"

# Pattern batches: a syntax byte, the number of patterns ('?': 64), then the
# choices that build them from the words.
for s in 0:plain 1:extended 2:anagram 3:anagram-extended; do
  printf '%s?%s' "${s%%:*}" 'reka' >"$corpus/pattern_match/${s#*:}"
  printf '%s?%s' "${s%%:*}" 'stara mama' >"$corpus/pattern_match/${s#*:}-2"
done

# A settings store with finder settings and a library tree.
"$tool" settings set --number 'HKEY_CURRENT_USER\Software\Tavro\Verbatrakon III\Fndr' MatchCase 1 >/dev/null
"$tool" settings set 'HKEY_CURRENT_USER\Software\Tavro\Verbatrakon III\Fndr' ActiveLib Reke >/dev/null
"$tool" library create Reke >/dev/null
"$tool" library create --parent Reke Pritoki >/dev/null
"$tool" library add Reke "$work/reke.vrk3" >/dev/null
cp "$VRK3_SETTINGS_DIR/user.db" "$corpus/settings_db/user"
: >"$corpus/settings_db/empty"
