#!/usr/bin/env bash
# Black-box checks of vrk3tool's dictionary commands: texts in and out as
# UTF-8, the tool's own refusals, exit statuses and messages. The rules of
# the dictionary itself are the store's (store/*_test.cpp).
. "$(dirname "${BASH_SOURCE[0]}")/test_lib.sh" "$1"

"$tool" create d.vrk3 --name "Slovenske reke" --author "Žiga" --notes $'prva\nvrsta' --flags 7
check info "$(printf 'name: Slovenske reke\nauthor: Žiga\nnotes: prva\\nvrsta\npassword: \nflags: 7\nentries: 0\npicture: 0 bytes')" "$("$tool" info d.vrk3)"

check add-first 0 "$("$tool" add d.vrk3 SAVA 'reka' 'pritok Donave')"
check add-second 1 "$("$tool" add d.vrk3 KRKA 'reka na Dolenjskem')"
check add-merge 0 "$("$tool" add d.vrk3 SAVA 'reka' 'tab	in \ znak' --merge)"
check dump "$(printf '0\tSAVA\treka\tpritok Donave\ttab\\tin \\\\ znak\n1\tKRKA\treka na Dolenjskem')" "$("$tool" dump d.vrk3)"
check replace 1 "$("$tool" add d.vrk3 SOČA 'smaragdna reka' --replace 0)"
"$tool" delete d.vrk3 0
check delete "$(printf '0\tSOČA\tsmaragdna reka')" "$("$tool" dump d.vrk3)"

printf 'BM\377\000picture' > pic.bmp
"$tool" picture d.vrk3 --set pic.bmp --password '' && "$tool" picture d.vrk3 --get back.bmp
check picture 0 "$(cmp -s pic.bmp back.bmp; echo $?)"

# Usage errors exit 2 and change nothing; failed operations exit 1 and say
# why on one line.
before=$(md5sum < d.vrk3)
"$tool" add d.vrk3 '日本' 2>/dev/null; check unmappable-text 2 $?
"$tool" create bad.vrk3 --flags 8 2>/dev/null; check flags-too-big 2 $?
exits missing-file 1 'vrk3tool: missing.vrk3: cannot read the dictionary: not found' "$tool" info missing.vrk3
exits replace-missing 1 'vrk3tool: d.vrk3: cannot replace entry 9: there is no such entry' \
  "$tool" add d.vrk3 X --replace 9
exits create-existing 1 'exists already (use --force' "$tool" create d.vrk3
check unchanged "$before" "$(md5sum < d.vrk3)"
"$tool" create n.vrk3 && "$tool" create n.vrk3 --force --name Nov
check create-force "$(printf 'name: Nov\nflags: 6')" "$("$tool" info n.vrk3 | grep -E '^(name|flags)')"

# Words beginning with "-" exclude; they are arguments, not options, also
# among options. A term that has marks but no text is refused.
check search-dash-options "$(printf 'd.vrk3\t0\t1\tSOČA\tsmaragdna reka')" \
  "$("$tool" search --max 5 'S' '-dolina reka' --match-case d.vrk3 --count-letters=false)"
exits empty-term 2 'vrk3tool: TERMS: the term """" at character 1 has no text' "$tool" search '' '""' d.vrk3
exits alphabet-empty 2 'vrk3tool: --alphabet: give the row; an empty one orders nothing' \
  "$tool" search --alphabet= '' reka d.vrk3

# A stale index: entry 1 was KRKA when it was read, but another program
# deleted entry 0 since. With --expect nothing is changed.
"$tool" create s.vrk3
for w in SAVA KRKA MURA; do "$tool" add s.vrk3 "$w" >/dev/null; done
"$tool" delete s.vrk3 0 --expect SAVA
stale=$(md5sum < s.vrk3)
exits stale-replace 1 'vrk3tool: s.vrk3: entry 1 is no longer "KRKA": the entry was changed by another program' \
  "$tool" add s.vrk3 KRKA 'nova' --replace 1 --expect KRKA
"$tool" delete s.vrk3 1 --expect KRKA 2>/dev/null; check stale-delete 1 $?
check stale-unchanged "$stale" "$(md5sum < s.vrk3)"
"$tool" add s.vrk3 X --expect X 2>/dev/null; check expect-needs-replace 2 $?
check replace-expected 1 "$("$tool" add s.vrk3 KRKA 'nova' --replace 0 --expect KRKA)"
stale=$(md5sum < s.vrk3)

# The dictionary's settings: no changes without "changes allowed", no new
# picture for a protected one without its password.
"$tool" create ro.vrk3 --flags 4
ro=$(md5sum < ro.vrk3)
exits add-refused 1 'does not allow changes' "$tool" add ro.vrk3 X
"$tool" delete ro.vrk3 0 2>/dev/null; check delete-refused 1 $?
check refused-unchanged "$ro" "$(md5sum < ro.vrk3)"
check add-forced 0 "$("$tool" add ro.vrk3 X --force)"
"$tool" create pw.vrk3 --flags 7 --password 'Geslo'
exits picture-needs-password 1 'give --password' "$tool" picture pw.vrk3 --set pic.bmp
"$tool" picture pw.vrk3 --set pic.bmp --password geslo 2>/dev/null; check picture-wrong-password 1 $?
"$tool" picture pw.vrk3 --set pic.bmp --password Geslo; check picture-password 0 $?

# A scratch folder left by a killed tool is removed by the next run (which
# ones go is the settings store's rule). Ctrl+C, SIGTERM and SIGHUP stop a
# command, also one waiting for a dictionary another program holds: the
# tool says so, leaves the dictionary as it was and removes its folder.
folders() { find "$work" -maxdepth 1 -name 'vrk3tool.*' | wc -l; }
mkdir "$work/vrk3tool.old123" && touch -d '2 days ago' "$work/vrk3tool.old123"
"$tool" info d.vrk3 >/dev/null
check abandoned-folder-removed 0 "$(folders)"
printf 'NOVA,beseda\n' > new.csv
flock -x s.vrk3 sleep 3 &
holder=$!
sleep 0.3
"$tool" import csv new.csv s.vrk3 2>err.txt &
int=$!
"$tool" add s.vrk3 TERM 2>/dev/null &
term=$!
"$tool" add s.vrk3 HUP 2>/dev/null &
hup=$!
sleep 0.3
kill -INT "$int"; kill -TERM "$term"; kill -HUP "$hup"
wait "$int"; check interrupt-exit 1 $?
wait "$term"; check sigterm-exit 1 $?
wait "$hup"; check sighup-exit 1 $?
check interrupt-says 1 "$(grep -c 'stopped' err.txt)"
kill "$holder" 2>/dev/null; wait "$holder" 2>/dev/null
check signalled-unchanged "$stale" "$(md5sum < s.vrk3)"
check signalled-folders-removed 0 "$(folders)"

finish
