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

printf 'BM\377\000picture' > pic.bmp
"$tool" picture d.vrk3 --set pic.bmp && "$tool" picture d.vrk3 --get back.bmp
check picture 0 "$(cmp -s pic.bmp back.bmp; echo $?)"
check picture-size "picture: 11 bytes" "$("$tool" info d.vrk3 | tail -n 1)"

# Usage errors exit 2 and change nothing; failed operations exit 1.
before=$(md5sum < d.vrk3)
"$tool" add d.vrk3 '日本' 2>/dev/null; check unmappable-text 2 $?
"$tool" add d.vrk3 2>/dev/null; check missing-argument 2 $?
"$tool" frobnicate 2>/dev/null; check unknown-command 2 $?
"$tool" delete d.vrk3 5 2>err.txt; check bad-index 1 $?
check error-names-file 1 "$(grep -c 'd.vrk3' err.txt)"
"$tool" info missing.vrk3 2>/dev/null; check missing-file 1 $?
check unchanged "$before" "$(md5sum < d.vrk3)"
check no-scratch-left "" "$(ls -A "$work" | grep vrk3tool)"

finish
