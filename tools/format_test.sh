#!/usr/bin/env bash
# Black-box checks of vrk3tool's search, import, export, merge and remap
# commands: output lines, limits, separators, the export permission and exit
# statuses.
. "$(dirname "${BASH_SOURCE[0]}")/test_lib.sh" "$1"

"$tool" create r.vrk3 --name Reke --flags 6
"$tool" add r.vrk3 SAVA 'reka' 'pritok Donave' >/dev/null
"$tool" add r.vrk3 SOČA 'smaragdna reka' >/dev/null
"$tool" add r.vrk3 KRKA 'reka na Dolenjskem' >/dev/null
"$tool" add r.vrk3 sava 'ime' >/dev/null
"$tool" create g.vrk3 --flags 2
"$tool" add g.vrk3 SNEŽNIK 'gora' >/dev/null
"$tool" add g.vrk3 SOTESKA 'ozka dolina, reka v njej' >/dev/null

# search: one line per match, dictionaries in order; case folds unless asked.
check search-letters "$(printf 'r.vrk3\t0\t0\tSAVA\treka\tpritok Donave\nr.vrk3\t3\t0\tsava\time')" \
  "$("$tool" search 's*v*' '' r.vrk3)"
check search-case "$(printf 'r.vrk3\t3\t0\tsava\time')" "$("$tool" search --match-case 's*v*' '' r.vrk3)"
check search-count "$(printf 'g.vrk3\t0\t0\tSNEŽNIK\tgora')" \
  "$("$tool" search --count-letters 'sn*****' '' g.vrk3 r.vrk3)"
check search-terms "$(printf 'r.vrk3\t1\t1\tSOČA\tsmaragdna reka\ng.vrk3\t1\t2\tSOTESKA\tozka dolina, reka v njej')" \
  "$("$tool" search 'so' '+reka "dolina,"' r.vrk3 g.vrk3)"
out=$("$tool" search --max 2 '' '' r.vrk3 g.vrk3 2>err.txt)
check search-max-exit 0 $?
check search-max-lines 2 "$(echo "$out" | wc -l)"
check search-limit-note 1 "$(grep -c 'limit of 2' err.txt)"
"$tool" search --max 6 '' '' r.vrk3 g.vrk3 >/dev/null 2>err.txt
check search-exact-limit-silent "" "$(cat err.txt)"
"$tool" search '' '' missing.vrk3 r.vrk3 >out.txt 2>err.txt
check search-missing-exit 1 $?
check search-missing-names-file 1 "$(grep -c 'missing.vrk3' err.txt)"
check search-goes-on 4 "$(wc -l < out.txt)"
"$tool" search 's' 2>/dev/null; check search-usage 2 $?

# The options reach the pattern (its rules are the store's and tested
# there): extended patterns and anagrams, the same text plain without them,
# and a malformed pattern refused before any dictionary is read.
"$tool" create p.vrk3
for entry in 'SAVA|reka' 'SOČA|smaragdna reka' 'KRKA|reka' 'LJUBLJANICA|reka sedmih imen' \
  'POTICA|pecivo' 'ROMAN|prozno delo' 'NORMA|predpisana mera' 'sava|ime'; do
  "$tool" add p.vrk3 "${entry%|*}" "${entry#*|}" >/dev/null
done
check search-ending "$(printf 'p.vrk3\t3\t1\tLJUBLJANICA\treka sedmih imen')" \
  "$("$tool" search --extended '%ica' 'reka' p.vrk3)"
check search-ending-plain "" "$("$tool" search '%ica' 'reka' p.vrk3)"
check search-anagram "ROMAN NORMA" "$("$tool" search --anagram 'roman' '' p.vrk3 | cut -f4 | xargs)"
"$tool" search --extended 'ab[cd' '' missing.vrk3 >out.txt 2>err.txt; check search-unclosed 2 $?
check search-unclosed-says 'vrk3tool: PATTERN: the set opened by "[" at character 3 has no "]"' "$(cat err.txt)"
"$tool" search --extended --count-letters '%ica' '' p.vrk3 2>err.txt; check search-run-count 2 $?
check search-run-count-says 1 "$(grep -c 'character 1 .*--count-letters' err.txt)"
"$tool" search --extended 'a[]' '' p.vrk3 2>err.txt; check search-empty-set 2 $?
check search-empty-set-says 1 "$(grep -c 'set at character 2 holds no letter' err.txt)"

# export: sorted by the alphabet row; refused without the permission.
"$tool" export csv r.vrk3 r.csv
check export-csv-exit 0 $?
# Whole records are compared, so "sava<0x01>ime" sorts before "SAVA<0x01>reka".
check export-csv "$(printf 'KRKA,reka na Dolenjskem\r\nsava,ime\r\nSAVA,reka,pritok Donave\r\nSOČA,smaragdna reka')" \
  "$(iconv -f CP1250 -t UTF-8 < r.csv)"
# Only K and S are listed; every other byte ranks after them, all equal.
"$tool" export csv r.vrk3 r2.csv --separator '|' --alphabet 'K,S' --alphabet-separator ,
check export-alphabet "$(printf 'KRKA|reka na Dolenjskem\r\nSOČA|smaragdna reka\r\nSAVA|reka|pritok Donave\r\nsava|ime')" \
  "$(iconv -f CP1250 -t UTF-8 < r2.csv)"
"$tool" export text g.vrk3 g.txt 2>err.txt
check export-refused 1 $?
check export-refused-says 1 "$(grep -c 'does not allow export' err.txt)"
check export-refused-no-file "" "$(ls g.txt 2>/dev/null)"
"$tool" export text g.vrk3 g.txt --force
check export-forced 0 $?
check export-text-line "$(printf 'SNE\216NIK%22sgora' '')" "$(head -n 1 g.txt | tr -d '\r')"
# Line breaks written as spaces are counted on stderr.
"$tool" create lb.vrk3
"$tool" add lb.vrk3 OKO "$(printf 'vid\r\ndrugi del')" >/dev/null
"$tool" export csv lb.vrk3 lb.csv 2>err.txt
check export-line-break-says "vrk3tool: 1 line breaks inside texts written as spaces" "$(cat err.txt)"
"$tool" export vrk r.vrk3 r.vrk
check export-vrk-count "04000000" "$(head -c 4 r.vrk | od -An -tx1 | tr -d ' \n')"
"$tool" export zip r.vrk3 r.zip 2>/dev/null; check export-unknown-kind 2 $?

# import: creates the dictionary; the header data with --with-info.
"$tool" import vrk r.vrk n.vrk3 --separator ';' --with-info
check import-vrk-exit 0 $?
check import-vrk-info "$(printf 'name: Reke\nentries: 4')" "$("$tool" info n.vrk3 | grep -E '^(name|entries)')"
"$tool" import text g.txt t.vrk3
check import-text "$(printf '0\tSNEŽNIK\tgora\n1\tSOTESKA\tozka dolina, reka v njej')" "$("$tool" dump t.vrk3)"
printf 'SAVA,nova reka\nMURA;"reka, ravninska"\n' > in.csv
"$tool" import csv in.csv r.vrk3
check import-csv-merge "$(printf '0\tSAVA\treka\tpritok Donave\tnova reka')" "$("$tool" dump r.vrk3 | head -n 1)"
check import-csv-append "$(printf '4\tMURA\treka, ravninska')" "$("$tool" dump r.vrk3 | tail -n 1)"
"$tool" import csv in.csv x.vrk3 --separator ';' 2>/dev/null; check import-csv-separator 2 $?
"$tool" import csv missing.csv y.vrk3 2>err.txt
check import-missing 1 $?
check import-missing-leaves-nothing "" "$(ls -A | grep y.vrk3)"

# A new dictionary gets the flags `create` gives, and its name only once the
# import is complete: one killed half way leaves nothing there.
"$tool" import csv in.csv fresh.vrk3 >/dev/null
check import-new-flags "flags: 6" "$("$tool" info fresh.vrk3 | grep '^flags')"
mkdir killed
seq 2000000 | sed 's/.*/beseda&,opis &/' > killed/big.csv
TMPDIR=$work/killed "$tool" import csv killed/big.csv killed/new.vrk3 >/dev/null 2>&1 &
pid=$!
sleep 0.3
kill -KILL "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
if [ -e killed/new.vrk3 ]; then
  check import-killed-all-or-nothing "entries: 2000000" "$("$tool" info killed/new.vrk3 | grep '^entries')"
fi

# The summary line counts 0x02 bytes made spaces and lines cut; `add` makes
# 0x02 a space too and says so; other control bytes print escaped.
printf 'A\002B,x\002y\nDOLGA,%099998d\n' 0 > sep.csv
check import-summary "entries: 2 read, 1 cut to 99999 bytes; 2 bytes 0x02 made spaces" \
  "$("$tool" import csv sep.csv sep.vrk3)"
"$tool" add sep.vrk3 "C$(printf '\002')D" "o$(printf '\003')p" >/dev/null 2>err.txt
check add-separator-says 1 "$(grep -c '1 bytes 0x02 stored as spaces' err.txt)"
check add-separator-space "$(printf '2\tC D\to\\x03p')" "$("$tool" dump sep.vrk3 | tail -n 1)"

# merge and remap.
"$tool" merge g.vrk3 t.vrk3 >out.txt
check merge-exit 0 $?
check merge-summary "entries: 2 read, 0 cut to 99999 bytes; 0 bytes 0x02 made spaces" "$(cat out.txt)"
"$tool" merge g.vrk3 r.vrk3
check merge-adds 7 "$("$tool" info g.vrk3 | sed -n 's/^entries: //p')"
"$tool" remap g.vrk3 Ž Z
check remap "$(printf '0\tSNEZNIK\tgora')" "$("$tool" dump g.vrk3 | head -n 1)"
"$tool" remap g.vrk3 ab c 2>/dev/null; check remap-usage 2 $?
"$tool" merge g.vrk3 missing.vrk3 2>/dev/null; check merge-missing 1 $?

# Ctrl+C stops an import; the dictionary stays as it was. Another program
# holds the dictionary until after the interrupt, so the import is surely
# under way (waiting for it) when the interrupt comes.
printf 'NOVA,beseda\n' > slow.csv
cp r.vrk3 big.vrk3
before=$(md5sum < big.vrk3)
flock -x big.vrk3 sleep 1 &
holder=$!
sleep 0.2
"$tool" import csv slow.csv big.vrk3 2>err.txt &
pid=$!
sleep 0.3
kill -INT "$pid"
wait "$pid"
check interrupt-exit 1 $?
check interrupt-says 1 "$(grep -c 'stopped' err.txt)"
check interrupt-unchanged "$before" "$(md5sum < big.vrk3)"
wait "$holder"

# A pipe is no file to import: refused at once, not waited on.
mkfifo pipe.csv
timeout 10 "$tool" import csv pipe.csv big.vrk3 2>err.txt
check import-pipe 1 $?
check import-pipe-says 1 "$(grep -c 'pipe.csv: cannot import pipe.csv: not a regular file' err.txt)"

# Changes need "changes allowed" in the dictionary (or --force).
"$tool" create locked.vrk3 --flags 4
locked=$(md5sum < locked.vrk3)
"$tool" import csv in.csv locked.vrk3 2>err.txt; check import-refused 1 $?
check import-refused-says 1 "$(grep -c 'does not allow changes' err.txt)"
"$tool" merge locked.vrk3 r.vrk3 2>/dev/null; check merge-refused 1 $?
check refused-unchanged "$locked" "$(md5sum < locked.vrk3)"
"$tool" merge locked.vrk3 r.vrk3 --force; check merge-forced 0 $?

# search and export use the stored alphabet row, as the programs do.
"$tool" export csv r.vrk3 r3.csv --separator '|' --alphabet 'K,S' --alphabet-separator ,
"$tool" alphabet set 'K,S' --separator ,
"$tool" export csv r.vrk3 r4.csv --separator '|'
check export-stored-alphabet "$(cat r3.csv)" "$(cat r4.csv)"
# Upper and lower case in groups of their own: "sava" no longer finds SAVA.
"$tool" alphabet set 'S|A|V|s|a|v'
check search-stored-alphabet "$(printf 'r.vrk3\t3\t0\tsava\time')" "$("$tool" search 'sava' '' r.vrk3)"
check search-alphabet-option 2 "$("$tool" search 'sava' '' r.vrk3 --alphabet 'sS|aA|vV' | wc -l)"

check no-scratch-left "" "$(ls -A "$work" | grep vrk3tool)"
finish
