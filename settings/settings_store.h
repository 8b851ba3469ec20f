// Where the two settings databases live, and the process-wide connection to
// each. The per-user database stands behind "HKEY_CURRENT_USER", the
// per-machine one behind "HKEY_LOCAL_MACHINE".
//
// Locations: $VRK3_SETTINGS_DIR/user.db and $VRK3_SETTINGS_DIR/machine.db when
// that variable is set (every test sets it); otherwise
// $XDG_CONFIG_HOME/vrk3/user.db (default ~/.config/vrk3/user.db) and
// machine.db in the folder the build was configured with
// (VRK3_MACHINE_SETTINGS_DIR, by default <sysconfdir>/vrk3).
#pragma once

#include <memory>
#include <string>

#include "settings/reg_types.h"

namespace vrk {

class TSettingsDb;

// The file behind a root; empty for the roots that have none.
std::string SettingsFilePath(TRoot root);

// The database behind a root, opened on first use (its folder is created when
// missing). Null for the roots without one and when the file cannot be used;
// a damaged file is reported once as a diagnostic line and never written to.
// Thread-safe.
std::shared_ptr<TSettingsDb> SettingsDatabase(TRoot root);

// Drops both connections (open keys keep theirs until closed); the next use
// reads the locations again. Tests call it after changing VRK3_SETTINGS_DIR,
// and a process calls it before fork().
void CloseSettingsStore();

}  // namespace vrk
