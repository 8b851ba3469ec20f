#!/usr/bin/env bash
# Black-box checks of vrk3tool's library, settings and alphabet commands: the
# layout they leave is what the finder and the manager read, texts go in and
# out as UTF-8. Every run uses its own settings folder. Writers at the same
# time are the store's to keep apart (settings/settings_db_test.cpp).
. "$(dirname "${BASH_SOURCE[0]}")/test_lib.sh" "$1"
export VRK3_SETTINGS_DIR="$work/settings"
unset VRK3_DEBUG
user='HKEY_CURRENT_USER\Software\Tavro\Verbatrakon III'
all='-- Vse Knjižnice --'
touch a.vrk3 b.vrk3 c.vrk3 'š d.vrk3'

# Libraries: default names, nesting, members, collection order.
check new-1 'Nova Knjižnica' "$("$tool" library create)"
check new-2 'Nova Knjižnica (2)' "$("$tool" library create --parent 'Nova Knjižnica')"
"$tool" library create Slovarji && "$tool" library create Pod --parent Slovarji
check create-ok 0 $?
"$tool" library create 'Slovarji' 2>/dev/null; check create-taken 1 $?
check create-taken-text 'vrk3tool: Pod: Knjižnica s tem imenom že obstaja.' \
  "$("$tool" library create Pod --parent 'Nova Knjižnica' 2>&1)"
"$tool" library add Slovarji a.vrk3 "$work/b.vrk3" && "$tool" library add Pod 'š d.vrk3'
check add-ok 0 $?
"$tool" library add "$all" c.vrk3
"$tool" library add Slovarji c.vrk3 a.vrk3 b.vrk3 2>/dev/null; check add-member 1 $?
"$tool" library add Slovarji missing.vrk3 2>/dev/null; check add-missing-file 1 $?
check collect "$(printf '%s\n' "$work/a.vrk3" "$work/b.vrk3" "$work/c.vrk3" "$work/š d.vrk3")" \
  "$("$tool" library collect Slovarji)"
check collect-all "$(printf '%s\n' "$work/c.vrk3" "$work/a.vrk3" "$work/b.vrk3" "$work/c.vrk3" "$work/š d.vrk3")" \
  "$("$tool" library collect "$all")"
"$tool" library rename Slovarji 'Nova Knjižnica (2)' 2>/dev/null; check rename-taken 1 $?
"$tool" library rename Slovarji 'Glavni slovarji'; check rename 0 $?
check list "$(printf '%s\n' "- $work/c.vrk3" '+ Nova Knjižnica' '  + Nova Knjižnica (2)' \
  '+ Glavni slovarji' "  - $work/a.vrk3" "  - $work/b.vrk3" "  - $work/c.vrk3" '  + Pod' \
  "    - $work/š d.vrk3")" "$("$tool" library list)"
"$tool" library remove-dict 'Glavni slovarji' b.vrk3; check remove-dict 0 $?
"$tool" library remove-dict 'Glavni slovarji' b.vrk3 2>/dev/null; check remove-dict-again 1 $?
"$tool" library remove 'Nova Knjižnica'; check remove 0 $?
"$tool" library collect 'Nova Knjižnica (2)' 2>/dev/null; check removed-below 1 $?

# The layout underneath is the one the programs read: members are empty strings.
check layout "$(printf 'key\tPod\nstring\t%s\t\nstring\t%s\t' "$work/a.vrk3" "$work/c.vrk3")" \
  "$("$tool" settings list --raw "$user\\Groups\\Glavni slovarji")"

# Values by full path; the flags reach the helpers (whose rules are tested
# in settings/) and their question is asked on the terminal.
fndr="$user\\Fndr"
"$tool" settings set "$fndr" ActiveLib 'Glavni slovarji'; check set 0 $?
check get 'Glavni slovarji' "$("$tool" settings get "$fndr" ActiveLib)"
"$tool" settings set "$fndr" MatchCase 1 --number
check get-number 1 "$("$tool" settings get "$fndr" MatchCase --number)"
"$tool" settings get "$fndr" MatchCase 2>/dev/null; check get-wrong-type 1 $?
echo n | "$tool" settings set "$fndr" ActiveLib x --flags 1 2>question.txt; check answered-no 1 $?
check question "Warning: $fndr\\ActiveLib
This registry value already exists. Overwrite? [y/N] vrk3tool: $fndr\\ActiveLib: value not written" \
  "$(cat question.txt)"
check kept 'Glavni slovarji' "$("$tool" settings get "$fndr" ActiveLib)"
echo y | "$tool" settings set "$user\\Nov" v 'č' --flags 1 2>/dev/null; check answered-yes 0 $?
check created 'č' "$("$tool" settings get "$user\\Nov" v)"
check debug-line '* TGetRegistryString: Cannot access the basic key.' \
  "$(VRK3_DEBUG=1 "$tool" settings get 'hkey_current_user\Software' v 2>&1 >/dev/null | head -n 1)"
"$tool" settings get 'HKEY_USERS\Software' v 2>/dev/null; check empty-root 1 $?
"$tool" settings delete "$fndr" MatchCase; check delete 0 $?
"$tool" settings delete "$fndr" MatchCase 2>/dev/null; check delete-again 1 $?

# Alphabet rows: the history moves down, a repeated row moves up.
check alphabet-default "$(printf '|\t ')" "$("$tool" alphabet show | cut -c1-3)"
for r in r0 r1 r2 r3; do "$tool" alphabet set "$r"; done
"$tool" alphabet set 'aá;bč' --separator ';'
"$tool" alphabet set r1
check alphabet "$(printf '0\t|\tr1\n1\t;\taá;bč\n2\t|\tr3\n3\t|\tr2\n4\t|\tr0')" \
  "$("$tool" alphabet show --history)"
check alphabet-current "$(printf '|\tr1')" "$("$tool" alphabet show)"
"$tool" alphabet set '' 2>/dev/null; check alphabet-empty 2 $?
"$tool" alphabet set x --separator ab 2>/dev/null; check alphabet-separator 2 $?

# A damaged store is reported, left as it is, and the defaults apply.
printf 'not a database at all, not even close......................' > "$VRK3_SETTINGS_DIR/user.db"
before=$(md5sum < "$VRK3_SETTINGS_DIR/user.db")
check damaged-default "$(printf '|\t ')" "$("$tool" alphabet show 2>/dev/null | cut -c1-3)"
"$tool" library create X 2>err.txt; check damaged-refused 1 $?
# The reason is said on the one line, without the debug variable.
check damaged-says "vrk3tool: Software\\Tavro\\Verbatrakon III\\Groups: cannot open the library tree: not a settings database" \
  "$(cat err.txt)"
"$tool" library list 2>err.txt; check damaged-list 1 $?
check damaged-list-says 'Napaka pri branju knjižnice [k8]: not a settings database' "$(cat err.txt)"
"$tool" settings set "$fndr" ActiveLib x 2>err.txt; check damaged-set 1 $?
check damaged-set-says "vrk3tool: $fndr\\ActiveLib: value not written: not a settings database" \
  "$(cat err.txt)"
check damaged-untouched "$before" "$(md5sum < "$VRK3_SETTINGS_DIR/user.db")"
check damaged-reported 1 "$(VRK3_DEBUG=1 "$tool" library list 2>&1 | grep -c 'user.db: not a settings database\|user.db: file is not a database')"

# No store yet, in a folder the user may not write: no permission (root may).
if [ "$(id -u)" != 0 ]; then
  mkdir locked && chmod 0555 locked
  VRK3_SETTINGS_DIR="$work/locked" "$tool" library create X 2>err.txt
  check locked-says "vrk3tool: Software\\Tavro\\Verbatrakon III\\Groups: cannot open the library tree: no permission" \
    "$(cat err.txt)"
  chmod 0755 locked
fi

finish
