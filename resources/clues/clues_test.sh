#!/usr/bin/env bash
# Checks the dictionaries of descriptions made at build time: their header
# (name, source and licence, flags that allow export and forbid changes),
# the program's copyright file covering each, and that a search by known
# letters and one word of a clue finds real answers in them.
#   clues_test.sh VRK3TOOL BUILD_DIR PACKAGE_COPYRIGHT
dir=$(realpath "$2")
package_copyright=$(realpath "$3")
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/test_lib.sh" "$1"

# The words that `search` finds (field 4 of its lines).
found() { "$tool" search --max 100 "$@" | cut -f4; }

header() {  # header DICT NAME PACKAGE FILE; sets entries
  local info
  info=$("$tool" info "$1")
  field() { sed -n "s/^$1: //p" <<<"$info"; }
  check "$2 name" "$2" "$(field name)"
  check "$2 flags" 4 "$(field flags)"
  check "$2 has authors" 1 "$([ -n "$(field author)" ] && echo 1)"
  check "$2 notes name the package" 1 "$(field notes | grep -c "Debianov paket $3")"
  check "$2 notes name the licence" 1 "$(field notes | grep -c 'Licenca: .*\. Podrobnosti: ')"
  # The licence of the notes is the one the program's copyright file gives
  # for the installed dictionary.
  local licence ours
  licence=$(field notes | sed -n 's/.*Licenca: \(.*\)\. Podrobnosti: .*/\1/p')
  ours=$(awk -v f="Files: usr/share/vrk3/dictionaries/$4" '$0 == f { on = 1 } on && /^$/ { exit } on' \
    "$package_copyright")
  check "$2 package copyright" "$licence" "$(sed -n 's/^License: *//p' <<<"$ours")"
  "$tool" add "$1" novabeseda 2>/dev/null >/dev/null
  check "$2 changes refused" 1 $?
  "$tool" export csv "$1" "$4.csv"
  check "$2 export allowed" 0 $?
  entries=$(field entries)
}

thesaurus=$dir/slovenske-sopomenke.vrk3
if [ -f "$thesaurus" ]; then
  header "$thesaurus" "Slovenske sopomenke" mythes-sl slovenske-sopomenke.vrk3
  check "thesaurus headwords" 1 "$([ "$entries" -gt 20000 ] && echo 1)"
  # One synonym of the clue and the known letters find the headword; the
  # description reads as a clue, with its labels.
  check "posmeh finds šala" 1 "$(found --count-letters 'Š*LA' posmeh "$thesaurus" | grep -cx šala)"
  check "labels kept" 1 "$("$tool" dump "$thesaurus" | grep -c $'^[0-9]*\tšala\t(sam\\.) štos (žargon), posmeh, vic$')"
fi

names=$dir/slovenski-pojmi.vrk3
if [ -f "$names" ]; then
  header "$names" "Slovenski pojmi" iso-codes slovenski-pojmi.vrk3
  check "names entries" 1 "$([ "$entries" -gt 800 ] && echo 1)"
  check "country" 1 "$(found 'AVSTRIJ*' država "$names" | grep -cx Avstrija)"
  # A name of several words is stored as written: its spaces are typed too.
  check "name of several words" 1 \
    "$(found --count-letters 'BOSNA IN HERCEG*VINA' država "$names" | grep -cx 'Bosna in Hercegovina')"
  check "municipality" 1 "$(found --count-letters 'ŠKOFJA*LOKA' občina "$names" | grep -cx 'Škofja Loka')"
  check "language" 1 "$(found --count-letters 'SLOVENŠ*INA' jezik "$names" | grep -cx slovenščina)"
  check "currency" 1 "$(found --count-letters 'EVRO' valuta "$names" | grep -cx evro)"
  check "no English" 0 "$(found 'GERMANY' '' "$names" | wc -l)"
fi
# The test is run only where the build made at least one of them.
check "a dictionary checked" 1 "$([ "$checks" -gt 1 ] && echo 1)"
finish
