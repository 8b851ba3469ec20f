#!/usr/bin/env bash
# Black-box checks of `vrk3tool import words`: word lists in UTF-8 and in
# other encodings, from a file and from standard input, with empty lines,
# repeats and words that Windows-1250 cannot hold; merging into an existing
# dictionary; usage errors.
. "$(dirname "${BASH_SOURCE[0]}")/test_lib.sh" "$1"

words() { "$tool" dump "$1" | cut -f2 | xargs; }

# UTF-8: empty lines and repeats are counted, and so is a word with a
# character Windows-1250 lacks (日, ø); the counts go to stdout.
printf 'karta\nKirka\n\n  \nkarta\nčrka\n日本\nsmørrebrød\r\nšola\r\n' > list.txt
"$tool" create w.vrk3
out=$("$tool" import words list.txt w.vrk3)
check utf8-exit 0 $?
check utf8-counts "words: 4 added, 0 already there, 1 repeated; skipped: 2 empty lines, 2 not words Windows-1250 can hold, 0 with control characters, 0 longer than 99999 bytes" "$out"
check utf8-words "karta Kirka črka šola" "$(words w.vrk3)"
check utf8-no-descriptions 0 "$("$tool" dump w.vrk3 | awk -F'\t' 'NF > 2' | wc -l)"

# ISO-8859-2 from standard input, as the expanded spelling list comes; the
# same words are there already, the new one is appended.
printf 'Kirka\nčrka\nžaba\n' | iconv -f UTF-8 -t ISO-8859-2 > latin2.txt
out=$("$tool" import words - w.vrk3 --encoding ISO-8859-2 < latin2.txt)
check latin2-exit 0 $?
check latin2-counts "words: 1 added, 2 already there, 0 repeated; skipped: 0 empty lines, 0 not words Windows-1250 can hold, 0 with control characters, 0 longer than 99999 bytes" "$out"
check latin2-words "karta Kirka črka šola žaba" "$(words w.vrk3)"
# Read as UTF-8, the same bytes are no words.
"$tool" import words latin2.txt u.vrk3 > out.txt
check latin2-as-utf8 "Kirka" "$(words u.vrk3)"

# An encoding of several bytes per character goes line by line.
printf 'čebela\nmiš\n' | iconv -f UTF-8 -t GB18030 > gb.txt
"$tool" import words gb.txt gb.vrk3 --encoding gb18030 >/dev/null
check multibyte "čebela miš" "$(words gb.vrk3)"

# A dictionary that does not allow changes is left alone unless forced.
# (Which lines are skipped and why, and that a word already there keeps its
# entry, are the store's rules: store/word_list_test.cpp.)
"$tool" create locked.vrk3 --name 'Slovenske besede' --flags 4
before=$(md5sum < locked.vrk3)
"$tool" import words list.txt locked.vrk3 2>err.txt >/dev/null
check locked-refused 1 $?
check locked-unchanged "$before" "$(md5sum < locked.vrk3)"
"$tool" import words list.txt locked.vrk3 --force >/dev/null
check locked-forced "karta Kirka črka šola" "$(words locked.vrk3)"
check locked-keeps-info "$(printf 'name: Slovenske besede\nflags: 4')" \
  "$("$tool" info locked.vrk3 | grep -E '^(name|flags)')"

# Failures and usage errors change nothing and make no dictionary.
"$tool" import words missing.txt m.vrk3 2>err.txt; check missing-exit 1 $?
check missing-says 1 "$(grep -c 'missing.txt: cannot read the word list: not found' err.txt)"
check missing-makes-nothing "" "$(ls m.vrk3 2>/dev/null)"
"$tool" import words list.txt m.vrk3 --encoding NO-SUCH-CODE 2>err.txt; check unknown-encoding 2 $?
check unknown-encoding-says 1 "$(grep -c 'unknown encoding "NO-SUCH-CODE"' err.txt)"
"$tool" import words list.txt m.vrk3 --encoding UTF-16 2>err.txt; check utf16 2 $?
check utf16-says 1 "$(grep -c 'does not end lines with the byte LF' err.txt)"
"$tool" import csv list.txt m.vrk3 --encoding UTF-8 2>/dev/null; check encoding-csv 2 $?
"$tool" import words list.txt m.vrk3 --separator ';' 2>/dev/null; check separator-words 2 $?
check usage-makes-nothing "" "$(ls m.vrk3 2>/dev/null)"
"$tool" export words w.vrk3 out.txt 2>/dev/null; check export-words 2 $?

check no-scratch-left "" "$(ls -A "$work" | grep vrk3tool)"
finish
