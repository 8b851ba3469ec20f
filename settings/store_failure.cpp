#include "settings/store_failure.h"

#include <sqlite3.h>

namespace vrk {

const char* StoreFailureText(TStoreFailure failure) {
    switch (failure) {
        case TStoreFailure::kNone:
            return "";
        case TStoreFailure::kNoHome:
            return "no home folder is known";
        case TStoreFailure::kNotDatabase:
            return "not a settings database";
        case TStoreFailure::kDamaged:
            return "damaged";
        case TStoreFailure::kOtherVersion:
            return "written by another version of the settings store";
        case TStoreFailure::kNoPermission:
            return "no permission";
        case TStoreFailure::kDiskFull:
            return "disk full";
        case TStoreFailure::kBusy:
            return "held by another program";
        case TStoreFailure::kIoError:
            break;
    }
    return "input/output error";
}

TStoreFailure StoreFailureFromSqlite(int code) {
    switch (code & 0xff) {
        case SQLITE_OK:
        case SQLITE_ROW:
        case SQLITE_DONE:
            return TStoreFailure::kNone;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return TStoreFailure::kBusy;
        case SQLITE_FULL:
            return TStoreFailure::kDiskFull;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
        case SQLITE_CANTOPEN:
            return TStoreFailure::kNoPermission;
        case SQLITE_CORRUPT:
            return TStoreFailure::kDamaged;
        case SQLITE_NOTADB:
            return TStoreFailure::kNotDatabase;
        default:
            return TStoreFailure::kIoError;
    }
}

}  // namespace vrk
