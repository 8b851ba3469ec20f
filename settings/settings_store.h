// Where the two settings databases live, and the process-wide connection to
// each. The per-user database stands behind "HKEY_CURRENT_USER", the
// per-machine one behind "HKEY_LOCAL_MACHINE".
//
// Locations: $VRK3_SETTINGS_DIR/user.db and $VRK3_SETTINGS_DIR/machine.db when
// that variable is set (every test sets it); otherwise user.db in
// $XDG_CONFIG_HOME/vrk3 (by default ~/.config/vrk3, the home folder taken
// from $HOME or, when that is unset, from the password database) and
// machine.db in the folder the build was configured with
// (VRK3_MACHINE_SETTINGS_DIR, by default <sysconfdir>/vrk3, /etc/vrk3 for a
// build installed under /usr).
//
// The per-user database is kept in WAL mode on a local file system; the
// per-machine one, which every user reads and few may write, and a per-user
// one on a network file system are kept in rollback-journal mode.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "settings/reg_types.h"
#include "settings/store_failure.h"

namespace vrk {

class TSettingsDb;

// The file behind a root; empty for the roots that have none, and for the
// per-user root when no home folder is known.
std::string SettingsFilePath(TRoot root);

// The current user's home folder: $HOME when it is an absolute path, else
// the one in the password database; empty when neither is known.
std::string HomeFolder();

// The database behind a root, opened on first use (its folder is created when
// missing: 0700 for the per-user folder, 0755 for the per-machine one). Null
// for the roots without one and while the file cannot be used; a file that
// is damaged or not ours is never written to. The first open waits for a
// file another process holds for at most TStoreTiming::firstWait; a failed
// open is reported once as a diagnostic line and tried again on a later use
// (at most once every retryInterval, waiting retryWait), so a store that
// comes free is used without restarting. Thread-safe.
std::shared_ptr<TSettingsDb> SettingsDatabase(TRoot root);

// Why the store behind `root` failed: while its file cannot be opened, why
// the last try failed; once it is open, why its last failed operation failed
// (see TSettingsDb::LastFailure). kNone when nothing has failed, and for the
// roots without a database. Tries no open of its own. Thread-safe.
TStoreFailure SettingsStoreFailure(TRoot root);

// Drops both connections and forgets earlier failures (open keys keep their
// connection until closed); the next use reads the locations again. Tests
// call it after changing VRK3_SETTINGS_DIR, and a process calls it before
// fork().
void CloseSettingsStore();

// How long opening waits for a store held by another process, and how often
// a failed open is tried again.
struct TStoreTiming {
    std::chrono::milliseconds firstWait{3000};
    std::chrono::milliseconds retryWait{100};
    std::chrono::milliseconds retryInterval{1000};
};
// Replaces the timing (tests shorten it); returns the previous one.
TStoreTiming SetStoreTiming(const TStoreTiming& timing);

}  // namespace vrk
