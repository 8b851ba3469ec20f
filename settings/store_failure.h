// Why the settings store could not be used. A database connection keeps the
// reason of its last failure, and the store keeps why a file could not be
// opened, so that the programs and the tool can say why a setting was not
// read or written, not only that it was not.
#pragma once

namespace vrk {

enum class TStoreFailure {
    kNone,          // nothing has failed
    kNoHome,        // no home folder is known, so there is no per-user file
    kNotDatabase,   // not a database, or another program's database
    kDamaged,       // a damaged database: cut short, a damaged page or index
    kOtherVersion,  // written by another version of the settings store
    kNoPermission,  // the file or its folder may not be read or written
    kDiskFull,      // no space (or quota) left for a change
    kBusy,          // another process held the file longer than allowed
    kIoError,       // any other error of the file system or of SQLite
};

// A few English words, for the command-line tool and for logs; empty for
// kNone.
const char* StoreFailureText(TStoreFailure failure);

// The reason an SQLite result code (extended or primary) stands for.
TStoreFailure StoreFailureFromSqlite(int code);

}  // namespace vrk
