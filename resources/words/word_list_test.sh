#!/usr/bin/env bash
# Checks the dictionary "Slovenske besede" made at build time: its header
# (name, authors and licence from the copyright file, flags that allow export
# and forbid changes), that it holds the whole word list, and that a search
# finds real Slovene words in it.
# The program's own copyright file (installed as DETAILS, which the notes
# name) repeats the word list's licence and authors.
#   word_list_test.sh VRK3TOOL DICT COPYRIGHT DETAILS PACKAGE_COPYRIGHT
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/test_lib.sh" "$1"
dict=$2
copyright=$3
details=$4
package_copyright=$5

info=$("$tool" info "$dict")
field() { echo "$info" | sed -n "s/^$1: //p"; }
check name "Slovenske besede" "$(field name)"
check flags 4 "$(field flags)"
check password "" "$(field password)"
# The first holder and the licence of the word list's paragraph of the
# copyright file.
paragraph=$(awk '/^Files: dictionaries\/sl_SI\/\*$/ { on = 1 } on && /^$/ { exit } on' "$copyright")
holder=$(sed -n 's/^Copyright: *//p' <<<"$paragraph" | sed 's/ *<.*//')
licence=$(sed -n 's/^License: *//p' <<<"$paragraph")
check author-first-holder 1 "$(field author | grep -Fc "$holder; ")"
check author-without-mail 0 "$(field author | grep -c '@')"
check notes-name-source 1 "$(field notes | grep -c 'Debianov paket hunspell-sl')"
check notes-name-licence 1 "$(field notes | grep -Fc "Licenca: $licence. Podrobnosti: $details")"
ours=$(awk '/^Files: usr\/share\/vrk3\/dictionaries\/slovenske-besede\.vrk3$/ { on = 1 } on && /^$/ { exit } on' \
  "$package_copyright")
check package-copyright-licence "$licence" "$(sed -n 's/^License: *//p' <<<"$ours")"
check package-copyright-first-holder "$holder" "$(sed -n 's/^Copyright: *//p' <<<"$ours")"
# Every distinct form of the word list, about 1 160 000 of them.
entries=$(field entries)
check entries-whole-list 1 "$([ "$entries" -gt 1000000 ] && echo 1)"

found=$("$tool" search --count-letters --max 100 'K*R*A' '' "$dict" | cut -f4)
check finds-karta 1 "$(grep -cx karta <<<"$found")"
check finds-Kirka 1 "$(grep -cx Kirka <<<"$found")"
check finds-only-five-letters 0 "$(grep -cvx '.....' <<<"$found")"

# Changes are refused, export is not.
"$tool" add "$dict" novabeseda 2>err.txt >/dev/null
check changes-refused 1 $?
"$tool" export csv "$dict" out.csv
check export-allowed 0 $?
# The last line has no line end.
check export-whole "$((entries - 1))" "$(wc -l < out.csv | tr -d ' ')"
finish
