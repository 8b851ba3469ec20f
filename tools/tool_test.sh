#!/usr/bin/env bash
# Black-box checks of vrk3tool's dictionary commands: texts in and out as
# UTF-8, exit statuses, and that every command leaves a valid dictionary.
. "$(dirname "${BASH_SOURCE[0]}")/test_lib.sh" "$1"

"$tool" create d.vrk3 --name "Slovenske reke" --author "Žiga" --notes $'prva\nvrsta' --flags 7
check create-exit 0 $?
check info "$(printf 'name: Slovenske reke\nauthor: Žiga\nnotes: prva\\nvrsta\npassword: \nflags: 7\nentries: 0\npicture: 0 bytes')" "$("$tool" info d.vrk3)"

check add-first 0 "$("$tool" add d.vrk3 SAVA 'reka' 'pritok Donave')"
check add-second 1 "$("$tool" add d.vrk3 KRKA 'reka na Dolenjskem')"
check add-merge 0 "$("$tool" add d.vrk3 SAVA 'reka' 'tab	in \ znak' --merge)"
check dump "$(printf '0\tSAVA\treka\tpritok Donave\ttab\\tin \\\\ znak\n1\tKRKA\treka na Dolenjskem')" "$("$tool" dump d.vrk3)"
check replace 1 "$("$tool" add d.vrk3 SOČA 'smaragdna reka' --replace 0)"
check after-replace "$(printf '0\tKRKA\treka na Dolenjskem\n1\tSOČA\tsmaragdna reka')" "$("$tool" dump d.vrk3)"
"$tool" delete d.vrk3 0
check delete "$(printf '0\tSOČA\tsmaragdna reka')" "$("$tool" dump d.vrk3)"

# dump shows one state of the dictionary: here it is blocked on its output
# while another program deletes entry 0, and still prints every entry as
# it was (printing as it reads would shift the rest and lose the last).
seq -f 'BESEDA%g' 0 19999 > list.txt
"$tool" create big.vrk3 && "$tool" import words list.txt big.vrk3 >/dev/null
"$tool" dump big.vrk3 | { sleep 1; cat > dump.txt; } &
dumper=$!
sleep 0.5
"$tool" delete big.vrk3 0
wait "$dumper"
check dump-snapshot "20000 0	BESEDA0 19999	BESEDA19999" "$(wc -l < dump.txt) $(head -n 1 dump.txt) $(tail -n 1 dump.txt)"

printf 'BM\377\000picture' > pic.bmp
"$tool" picture d.vrk3 --set pic.bmp --password '' && "$tool" picture d.vrk3 --get back.bmp
check picture 0 "$(cmp -s pic.bmp back.bmp; echo $?)"
check picture-size "picture: 11 bytes" "$("$tool" info d.vrk3 | tail -n 1)"

# Usage errors exit 2 and change nothing; failed operations exit 1.
before=$(md5sum < d.vrk3)
"$tool" add d.vrk3 '日本' 2>/dev/null; check unmappable-text 2 $?
"$tool" add d.vrk3 2>/dev/null; check missing-argument 2 $?
"$tool" frobnicate 2>/dev/null; check unknown-command 2 $?
"$tool" delete d.vrk3 5 2>err.txt; check bad-index 1 $?
check error-names-file 1 "$(grep -c 'd.vrk3' err.txt)"
"$tool" info missing.vrk3 2>err.txt; check missing-file 1 $?
check missing-says 'vrk3tool: missing.vrk3: cannot read the dictionary: not found' "$(cat err.txt)"
printf 'not a dictionary at all, but long enough to look like one......................' > junk.vrk3
"$tool" info junk.vrk3 2>err.txt; check damaged-file 1 $?
check damaged-says 'vrk3tool: junk.vrk3: cannot read the dictionary: damaged or not a dictionary' "$(cat err.txt)"
mkfifo pipe.vrk3
timeout 10 "$tool" info pipe.vrk3 2>err.txt; check pipe-refused 1 $?
check pipe-says 1 "$(grep -c 'not a regular file' err.txt)"
check unchanged "$before" "$(md5sum < d.vrk3)"

# Words beginning with "-" exclude; they are arguments, not options, also
# among options. A term that has marks but no text is refused.
check search-dash-options "$(printf 'd.vrk3\t0\t1\tSOČA\tsmaragdna reka')" \
  "$("$tool" search --max 5 'S' '-dolina reka' --match-case d.vrk3 --count-letters=false)"
"$tool" search '' '""' d.vrk3 >/dev/null 2>err.txt; check empty-term 2 $?
check empty-term-says 'vrk3tool: TERMS: the term """" at character 1 has no text' "$(cat err.txt)"
# Option values: --flags 0 to 7 only; an empty value after "=" is an empty
# value; --replace names an entry or is refused, as delete refuses it.
"$tool" create bad.vrk3 --flags -1 2>/dev/null; check flags-negative 2 $?
"$tool" create bad.vrk3 --flags 8 2>/dev/null; check flags-too-big 2 $?
"$tool" search --alphabet= '' reka d.vrk3 2>err.txt; check alphabet-empty 2 $?
check alphabet-empty-says 'vrk3tool: --alphabet: give the row; an empty one orders nothing' "$(cat err.txt)"
"$tool" add d.vrk3 X --replace 9 2>err.txt; check replace-missing 1 $?
check replace-missing-says 'vrk3tool: d.vrk3: cannot replace entry 9: there is no such entry' "$(cat err.txt)"
"$tool" add d.vrk3 X --replace -1 2>/dev/null; check replace-negative 1 $?

# create keeps an existing dictionary unless --force.
"$tool" create d.vrk3 2>err.txt; check create-existing 1 $?
check create-existing-says 1 "$(grep -c 'exists already (use --force' err.txt)"
check create-existing-unchanged "$before" "$(md5sum < d.vrk3)"
"$tool" create n.vrk3 && "$tool" create n.vrk3 --force --name Nov
check create-force "$(printf 'name: Nov\nflags: 6')" "$("$tool" info n.vrk3 | grep -E '^(name|flags)')"

# A stale index: entry 1 was KRKA when it was read, but another program
# deleted entry 0 since. With --expect nothing is changed.
"$tool" create s.vrk3
for w in SAVA KRKA MURA DRAVA; do "$tool" add s.vrk3 "$w" >/dev/null; done
"$tool" delete s.vrk3 0 --expect SAVA
stale=$(md5sum < s.vrk3)
"$tool" add s.vrk3 KRKA 'nova' --replace 1 --expect KRKA 2>err.txt; check stale-replace 1 $?
check stale-says 'vrk3tool: s.vrk3: entry 1 is no longer "KRKA": the entry was changed by another program' "$(cat err.txt)"
"$tool" delete s.vrk3 1 --expect KRKA 2>/dev/null; check stale-delete 1 $?
check stale-unchanged "$stale" "$(md5sum < s.vrk3)"
check replace-expected 2 "$("$tool" add s.vrk3 KRKA 'nova' --replace 0 --expect KRKA)"
"$tool" add s.vrk3 X --expect X 2>/dev/null; check expect-needs-replace 2 $?

# The dictionary's settings: no changes without "changes allowed", no new
# picture for a protected one without its password.
"$tool" create ro.vrk3 --flags 4 --password skrito
ro=$(md5sum < ro.vrk3)
"$tool" add ro.vrk3 X 2>err.txt; check add-refused 1 $?
check add-refused-says 1 "$(grep -c 'does not allow changes' err.txt)"
"$tool" delete ro.vrk3 0 2>/dev/null; check delete-refused 1 $?
check refused-unchanged "$ro" "$(md5sum < ro.vrk3)"
check add-forced 0 "$("$tool" add ro.vrk3 X --force)"
"$tool" create pw.vrk3 --flags 7 --password 'Geslo'
"$tool" picture pw.vrk3 --set pic.bmp 2>err.txt; check picture-needs-password 1 $?
check picture-needs-password-says 1 "$(grep -c 'give --password' err.txt)"
"$tool" picture pw.vrk3 --set pic.bmp --password geslo 2>err.txt; check picture-wrong-password 1 $?
"$tool" picture pw.vrk3 --set pic.bmp --password Geslo; check picture-password 0 $?

# Another program holds the dictionary longer than the tool waits (5 s).
flock -x s.vrk3 sleep 8 &
holder=$!
sleep 0.3
"$tool" add s.vrk3 LJUBLJANICA 2>err.txt; check busy 1 $?
check busy-says 'vrk3tool: s.vrk3: cannot read the dictionary: busy: another program is using it' "$(cat err.txt)"
kill "$holder" 2>/dev/null; wait "$holder" 2>/dev/null
check no-scratch-left "" "$(ls -A "$work" | grep vrk3tool)"

# Scratch folders: one of a running tool is never touched; one of a killed
# tool is removed by the next run. SIGTERM and SIGHUP stop a command as
# Ctrl+C does: the tool ends as usual and removes its folder.
folders() { find "$work" -maxdepth 1 -name 'vrk3tool.*' | wc -l; }
flock -x s.vrk3 sleep 8 &
holder=$!
sleep 0.3
"$tool" add s.vrk3 KILLED 2>/dev/null &
killed=$!
sleep 0.3
"$tool" info d.vrk3 >/dev/null
kill -KILL "$killed"; wait "$killed" 2>/dev/null
check killed-folder-left 1 "$(folders)"
"$tool" info d.vrk3 >/dev/null
check killed-folder-removed 0 "$(folders)"
"$tool" add s.vrk3 TERM 2>/dev/null &
term=$!
"$tool" add s.vrk3 HUP 2>/dev/null &
hup=$!
sleep 0.3
kill -TERM "$term"; kill -HUP "$hup"
wait "$term"; check sigterm-exit 1 $?
wait "$hup"; check sighup-exit 1 $?
check signalled-folders-removed 0 "$(folders)"
kill "$holder" 2>/dev/null; wait "$holder" 2>/dev/null

finish
