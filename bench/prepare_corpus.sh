#!/usr/bin/env bash
# Builds the large dictionaries the benchmarks read, from Debian's Slovene
# hunspell word list:
#   DIR/sl_forms.txt          every inflected form (unmunch of sl_SI)
#   DIR/c1000000.rec, .txt    1 000 000 entries
#   DIR/imp.rec, .txt         100 000 entries to import: 50 000 words that are
#                             also in c1000000, 50 000 new ones
#
# Usage: bench/prepare_corpus.sh [DIR] [MAKE_CORPUS_PY]
#   DIR             output folder, default /tmp/corpus (keep it out of the repo)
#   MAKE_CORPUS_PY  the generator; default $VRK3_CORPUS_TOOL, else
#                   ../shared/bench/make_corpus.py beside the repository root
#
# Files already present are kept, so a second run costs nothing. Each file is
# written under a temporary name and renamed when complete, so an interrupted
# run never leaves a half-written file that a later run would take as done.
set -euo pipefail

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-/tmp/corpus}
tool=${2:-${VRK3_CORPUS_TOOL:-$repo_root/../shared/bench/make_corpus.py}}

# Checksums of c1000000 made from hunspell-sl 1:7.5.0-1 with hunspell-tools
# 1.7.1; another word list version gives other words and other sums.
ref_rec_md5=6d9ac4d0c90ef476955e0ce6ceb074f3
ref_txt_md5=ed1293b943f1f9b0a01afd9a9bd0c7a4

dic=/usr/share/hunspell/sl_SI.dic
aff=/usr/share/hunspell/sl_SI.aff

die() { echo "prepare_corpus: $*" >&2; exit 1; }
say() { echo "prepare_corpus: $*" >&2; }

install_word_list() {
  local missing=() p sudo=""
  for p in hunspell-sl hunspell-tools; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  say "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# make_set PREFIX ARGS...: runs the generator into PREFIX.rec and PREFIX.txt
# unless both are there already.
make_set() {
  local prefix=$1 tmp
  shift
  if [ -s "$prefix.rec" ] && [ -s "$prefix.txt" ]; then
    say "$prefix.rec and .txt present, kept"
    return 0
  fi
  tmp="$dir/.partial-$(basename "$prefix")"
  rm -f "$tmp.rec" "$tmp.txt"
  nice -n 10 python3 "$tool" "$@" --words "$dir/sl_forms.txt" --out "$tmp"
  mv -f "$tmp.rec" "$prefix.rec"
  mv -f "$tmp.txt" "$prefix.txt"
}

[ -f "$tool" ] || die "generator not found: $tool (pass it as the second argument or set VRK3_CORPUS_TOOL)"
tool=$(cd "$(dirname "$tool")" && pwd)/$(basename "$tool")
command -v python3 >/dev/null || die "python3 is needed"

install_word_list
[ -f "$dic" ] && [ -f "$aff" ] || die "word list missing after install: $dic"
command -v unmunch >/dev/null || die "unmunch missing after install (hunspell-tools)"

mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

if [ -s "$dir/sl_forms.txt" ]; then
  say "$dir/sl_forms.txt present, kept"
else
  say "expanding $dic into inflected forms"
  # unmunch reports each affix it cannot apply on stderr; the word list on
  # stdout is what counts.
  nice -n 10 unmunch "$dic" "$aff" > "$dir/.partial-sl_forms.txt" 2>/dev/null \
    || die "unmunch failed"
  [ -s "$dir/.partial-sl_forms.txt" ] || die "unmunch wrote no words"
  mv -f "$dir/.partial-sl_forms.txt" "$dir/sl_forms.txt"
fi

make_set "$dir/c1000000" 1000000
make_set "$dir/imp" 100000 --start 950000 --seed 2

read -r rec_md5 _ < <(md5sum "$dir/c1000000.rec")
read -r txt_md5 _ < <(md5sum "$dir/c1000000.txt")
if [ "$rec_md5" = "$ref_rec_md5" ] && [ "$txt_md5" = "$ref_txt_md5" ]; then
  say "c1000000 matches the reference checksums"
else
  say "warning: c1000000 differs from the reference checksums" \
    "(rec $rec_md5, txt $txt_md5); figures are not comparable with the baselines." \
    "Delete $dir and run again after checking the hunspell-sl version."
fi
ls -l "$dir"/c1000000.rec "$dir"/c1000000.txt "$dir"/imp.rec "$dir"/imp.txt >&2
