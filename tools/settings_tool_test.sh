#!/usr/bin/env bash
# Black-box checks of vrk3tool's library, settings and alphabet commands:
# each reaches the settings store, whose rules are tested in settings/; the
# layout they leave is what the finder and the manager read, texts go in and
# out as UTF-8, and the store's failures reach the user.
. "$(dirname "${BASH_SOURCE[0]}")/test_lib.sh" "$1"
unset VRK3_DEBUG
user='HKEY_CURRENT_USER\Software\Tavro\Verbatrakon III'
all='-- Vse Knjižnice --'
touch a.vrk3 b.vrk3 'š d.vrk3'

check create-default 'Nova Knjižnica' "$("$tool" library create)"
"$tool" library create Slovarji && "$tool" library create Pod --parent Slovarji
exits create-taken 1 'vrk3tool: Pod: Knjižnica s tem imenom že obstaja.' \
  "$tool" library create Pod --parent 'Nova Knjižnica'
"$tool" library add Slovarji a.vrk3 "$work/b.vrk3" && "$tool" library add Pod 'š d.vrk3'
"$tool" library add "$all" a.vrk3
"$tool" library add Slovarji missing.vrk3 2>/dev/null; check add-missing-file 1 $?
check collect "$(printf '%s\n' "$work/a.vrk3" "$work/b.vrk3" "$work/š d.vrk3")" \
  "$("$tool" library collect Slovarji)"
"$tool" library rename Slovarji 'Glavni slovarji'; check rename 0 $?
"$tool" library remove-dict 'Glavni slovarji' b.vrk3; check remove-dict 0 $?
"$tool" library remove 'Nova Knjižnica'; check remove 0 $?
check list "$(printf '%s\n' "- $work/a.vrk3" '+ Glavni slovarji' "  - $work/a.vrk3" '  + Pod' \
  "    - $work/š d.vrk3")" "$("$tool" library list)"
# The layout underneath is the one the programs read: members are empty strings.
check layout "$(printf 'key\tPod\nstring\t%s\t' "$work/a.vrk3")" \
  "$("$tool" settings list --raw "$user\\Groups\\Glavni slovarji")"

# Values by full path; the flags reach the helpers and their question is
# asked on the terminal.
fndr="$user\\Fndr"
"$tool" settings set "$fndr" ActiveLib 'Glavni slovarji'; check set 0 $?
check get 'Glavni slovarji' "$("$tool" settings get "$fndr" ActiveLib)"
"$tool" settings set "$fndr" MatchCase 1 --number
check get-number 1 "$("$tool" settings get "$fndr" MatchCase --number)"
echo n | "$tool" settings set "$fndr" ActiveLib x --flags 1 2>question.txt; check answered-no 1 $?
check question "Warning: $fndr\\ActiveLib
This registry value already exists. Overwrite? [y/N] vrk3tool: $fndr\\ActiveLib: value not written" \
  "$(cat question.txt)"
echo y | "$tool" settings set "$user\\Nov" v 'č' --flags 1 2>/dev/null; check answered-yes 0 $?
check created 'č' "$("$tool" settings get "$user\\Nov" v)"
check debug-line '* TGetRegistryString: Cannot access the basic key.' \
  "$(VRK3_DEBUG=1 "$tool" settings get 'hkey_current_user\Software' v 2>&1 >/dev/null | head -n 1)"
"$tool" settings delete "$fndr" MatchCase; check delete 0 $?

"$tool" alphabet set r0 && "$tool" alphabet set 'aá;bč' --separator ';'
check alphabet "$(printf '0\t;\taá;bč\n1\t|\tr0')" "$("$tool" alphabet show --history)"
"$tool" alphabet set '' 2>/dev/null; check alphabet-empty 2 $?
"$tool" alphabet set x --separator ab 2>/dev/null; check alphabet-separator 2 $?

# A damaged store is reported, left as it is, and the defaults apply.
printf 'not a database at all, not even close......................' > "$VRK3_SETTINGS_DIR/user.db"
before=$(md5sum < "$VRK3_SETTINGS_DIR/user.db")
check damaged-default "$(printf '|\t ')" "$("$tool" alphabet show 2>/dev/null | cut -c1-3)"
exits damaged-refused 1 "vrk3tool: Software\\Tavro\\Verbatrakon III\\Groups: cannot open the library tree: not a settings database" \
  "$tool" library create X
exits damaged-list 1 'Napaka pri branju knjižnice [k8]: not a settings database' "$tool" library list
exits damaged-set 1 "vrk3tool: $fndr\\ActiveLib: value not written: not a settings database" \
  "$tool" settings set "$fndr" ActiveLib x
check damaged-untouched "$before" "$(md5sum < "$VRK3_SETTINGS_DIR/user.db")"
finish
