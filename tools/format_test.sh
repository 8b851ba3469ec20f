#!/usr/bin/env bash
# Black-box checks of vrk3tool's search, import, export, merge and remap
# commands: each option reaches the store, its output, messages and exit
# status reach the user. The pattern, sorting and format rules are the
# store's (store/*_test.cpp).
. "$(dirname "${BASH_SOURCE[0]}")/test_lib.sh" "$1"

"$tool" create r.vrk3 --name Reke --flags 6
for entry in 'SAVA|reka|pritok Donave' 'SOČA|smaragdna reka' 'KRKA|reka na Dolenjskem' 'sava|ime'; do
  IFS='|' read -r -a fields <<< "$entry"
  "$tool" add r.vrk3 "${fields[@]}" >/dev/null
done
"$tool" create g.vrk3 --flags 2
"$tool" add g.vrk3 SNEŽNIK 'gora' >/dev/null
"$tool" add g.vrk3 SOTESKA 'ozka dolina, reka v njej' >/dev/null

# search: one line per match, dictionaries in order; the options reach the
# pattern, and a malformed one is refused before any dictionary is read.
check search-letters "$(printf 'r.vrk3\t0\t0\tSAVA\treka\tpritok Donave\nr.vrk3\t3\t0\tsava\time')" \
  "$("$tool" search 's*v*' '' r.vrk3)"
check search-case "$(printf 'r.vrk3\t3\t0\tsava\time')" "$("$tool" search --match-case 's*v*' '' r.vrk3)"
check search-count "$(printf 'g.vrk3\t0\t0\tSNEŽNIK\tgora')" \
  "$("$tool" search --count-letters 'sn*****' '' g.vrk3 r.vrk3)"
check search-terms "$(printf 'r.vrk3\t1\t1\tSOČA\tsmaragdna reka\ng.vrk3\t1\t2\tSOTESKA\tozka dolina, reka v njej')" \
  "$("$tool" search 'so' '+reka "dolina,"' r.vrk3 g.vrk3)"
check search-extended "$(printf 'g.vrk3\t0\t0\tSNEŽNIK\tgora')" "$("$tool" search --extended '%nik' '' g.vrk3)"
check search-anagram "KRKA" "$("$tool" search --anagram 'karK' '' r.vrk3 | cut -f4)"
exits search-unclosed 2 'vrk3tool: PATTERN: the set opened by "[" at character 3 has no "]"' \
  "$tool" search --extended 'ab[cd' '' missing.vrk3
exits search-max 0 'search stopped at the limit of 2 results' "$tool" search --max 2 '' '' r.vrk3 g.vrk3
check search-max-lines 2 "$(wc -l < stdout.txt)"
"$tool" search --max 6 '' '' r.vrk3 g.vrk3 >/dev/null 2>err.txt
check search-exact-limit-silent "" "$(cat err.txt)"
exits search-missing 1 'missing.vrk3' "$tool" search '' '' missing.vrk3 r.vrk3
check search-goes-on 4 "$(wc -l < stdout.txt)"

# export: refused without the permission; line breaks written as spaces
# are counted on stderr.
"$tool" export csv r.vrk3 r.csv --separator '|' --alphabet 'K,S' --alphabet-separator ,
check export-csv "$(printf 'KRKA|reka na Dolenjskem\r\nSOČA|smaragdna reka\r\nSAVA|reka|pritok Donave\r\nsava|ime')" \
  "$(iconv -f CP1250 -t UTF-8 < r.csv)"
exits export-refused 1 'does not allow export' "$tool" export text g.vrk3 g.txt
"$tool" export text g.vrk3 g.txt --force; check export-forced 0 $?
"$tool" create lb.vrk3
"$tool" add lb.vrk3 OKO "$(printf 'vid\r\ndrugi del')" >/dev/null
exits export-line-break 0 'vrk3tool: 1 line breaks inside texts written as spaces' \
  "$tool" export csv lb.vrk3 lb.csv
"$tool" export vrk r.vrk3 r.vrk

# import: creates the dictionary with the flags `create` gives (its header
# data with --with-info), or merges into one.
"$tool" import vrk r.vrk n.vrk3 --separator ';' --with-info >/dev/null
check import-vrk-info "$(printf 'name: Reke\nentries: 4')" "$("$tool" info n.vrk3 | grep -E '^(name|entries)')"
"$tool" import text g.txt t.vrk3 >/dev/null
check import-text "$(printf '0\tSNEŽNIK\tgora\n1\tSOTESKA\tozka dolina, reka v njej')" "$("$tool" dump t.vrk3)"
check import-new-flags "flags: 6" "$("$tool" info t.vrk3 | grep '^flags')"
printf 'SAVA,nova reka\nMURA;"reka, ravninska"\n' > in.csv
"$tool" import csv missing.csv y.vrk3 2>/dev/null; check import-missing 1 $?
check import-missing-leaves-nothing "" "$(ls -A | grep y.vrk3)"

# A new dictionary gets its name only once the import is complete: one
# killed half way leaves nothing there.
mkdir killed
seq 2000000 | sed 's/.*/beseda&,opis &/' > killed/big.csv
TMPDIR=$work/killed "$tool" import csv killed/big.csv killed/new.vrk3 >/dev/null 2>&1 &
pid=$!
sleep 0.3
kill -KILL "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
check import-killed-all-or-nothing "entries: 2000000" \
  "$("$tool" info killed/new.vrk3 2>/dev/null | grep '^entries' || echo 'entries: 2000000')"

# The summary line counts 0x02 bytes made spaces and lines cut; `add` makes
# 0x02 a space too and says so; other control bytes print escaped.
printf 'A\002B,x\002y\nDOLGA,%099998d\n' 0 > sep.csv
check import-summary "entries: 2 read, 1 cut to 99999 bytes; 2 bytes 0x02 made spaces" \
  "$("$tool" import csv sep.csv sep.vrk3)"
exits add-separator 0 '1 bytes 0x02 stored as spaces' \
  "$tool" add sep.vrk3 "C$(printf '\002')D" "o$(printf '\003')p"
check add-separator-space "$(printf '2\tC D\to\\x03p')" "$("$tool" dump sep.vrk3 | tail -n 1)"

# merge and remap.
check merge-summary "entries: 2 read, 0 cut to 99999 bytes; 0 bytes 0x02 made spaces" \
  "$("$tool" merge g.vrk3 t.vrk3)"
"$tool" remap g.vrk3 Ž Z
check remap "$(printf '0\tSNEZNIK\tgora')" "$("$tool" dump g.vrk3 | head -n 1)"
"$tool" remap g.vrk3 ab c 2>/dev/null; check remap-usage 2 $?

# import words: word lists in UTF-8 and in other encodings, from a file and
# from standard input; the counts reach the user. (Which lines are skipped
# and why, and that a word already there keeps its entry, are the store's
# rules: store/word_list_test.cpp.)
words() { "$tool" dump "$1" | cut -f2 | xargs; }
printf 'karta\nKirka\n\n  \nkarta\nčrka\n日本\nsmørrebrød\r\nšola\r\n' > list.txt
out=$("$tool" import words list.txt w.vrk3)
check utf8-counts "words: 4 added, 0 already there, 1 repeated; skipped: 2 empty lines, 2 not words Windows-1250 can hold, 0 with control characters, 0 longer than 99999 bytes" "$out"
check utf8-words "karta Kirka črka šola" "$(words w.vrk3)"

# ISO-8859-2 from standard input, as the expanded spelling list comes.
printf 'Kirka\nčrka\nžaba\n' | iconv -f UTF-8 -t ISO-8859-2 > latin2.txt
"$tool" import words - w.vrk3 --encoding ISO-8859-2 < latin2.txt >/dev/null
check latin2-words "karta Kirka črka šola žaba" "$(words w.vrk3)"
# An encoding of several bytes per character goes line by line.
printf 'čebela\nmiš\n' | iconv -f UTF-8 -t GB18030 > gb.txt
"$tool" import words gb.txt gb.vrk3 --encoding gb18030 >/dev/null
check multibyte "čebela miš" "$(words gb.vrk3)"

# Failures and usage errors change nothing and make no dictionary.
exits missing-exit 1 'missing.txt: cannot read the word list: not found' \
  "$tool" import words missing.txt m.vrk3
exits unknown-encoding 2 'unknown encoding "NO-SUCH-CODE"' \
  "$tool" import words list.txt m.vrk3 --encoding NO-SUCH-CODE
exits utf16 2 'does not end lines with the byte LF' "$tool" import words list.txt m.vrk3 --encoding UTF-16
"$tool" import csv list.txt m.vrk3 --encoding UTF-8 2>/dev/null; check encoding-csv 2 $?
"$tool" import words list.txt m.vrk3 --separator ';' 2>/dev/null; check separator-words 2 $?
check makes-nothing "" "$(ls m.vrk3 2>/dev/null)"

# Changes need "changes allowed" in the dictionary (or --force), whichever
# the import.
"$tool" create locked.vrk3 --flags 4
locked=$(md5sum < locked.vrk3)
exits import-refused 1 'does not allow changes' "$tool" import csv in.csv locked.vrk3
"$tool" import words list.txt locked.vrk3 2>/dev/null; check words-refused 1 $?
check refused-unchanged "$locked" "$(md5sum < locked.vrk3)"
"$tool" import words list.txt locked.vrk3 --force >/dev/null
check words-forced "karta Kirka črka šola" "$(words locked.vrk3)"
"$tool" merge locked.vrk3 r.vrk3 --force >/dev/null; check merge-forced 0 $?

# search and export use the stored alphabet row, as the programs do.
"$tool" alphabet set 'K,S' --separator ,
"$tool" export csv r.vrk3 r4.csv --separator '|'
check export-stored-alphabet "$(head -n 2 r.csv)" "$(head -n 2 r4.csv)"
# Upper and lower case in groups of their own: "sava" no longer finds SAVA.
"$tool" alphabet set 'S|A|V|s|a|v'
check search-stored-alphabet "$(printf 'r.vrk3\t3\t0\tsava\time')" "$("$tool" search 'sava' '' r.vrk3)"
check search-alphabet-option 2 "$("$tool" search 'sava' '' r.vrk3 --alphabet 'sS|aA|vV' | wc -l)"

finish
