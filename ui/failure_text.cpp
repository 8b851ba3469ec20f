#include "ui/failure_text.h"

#include "settings/library_registry.h"
#include "settings/settings_store.h"
#include "ui/ui_texts.h"

namespace vrk {

namespace {

// `text`, then the reason why on a line of its own when there is one.
QString WithReason(const QString& text, const QString& reason) {
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

}  // namespace

QString FailureReason(TFailure failure) {
    switch (failure) {
        case TFailure::None:
            return {};
        case TFailure::NotFound:
            return texts::kFailureNotFound;
        case TFailure::Busy:
            return texts::kFailureBusy;
        case TFailure::NoPermission:
            return texts::kFailureNoPermission;
        case TFailure::NotRegularFile:
            return texts::kFailureNotRegularFile;
        case TFailure::Damaged:
            return texts::kFailureDamaged;
        case TFailure::RecordTooLong:
            return texts::kFailureRecordTooLong;
        case TFailure::DiskFull:
            return texts::kFailureDiskFull;
        case TFailure::IoError:
            return texts::kFailureIoError;
        case TFailure::Stopped:
            return texts::kFailureStopped;
        case TFailure::EntryChanged:
            return texts::kFailureEntryChanged;
        case TFailure::InvalidArgument:
            return texts::kFailureInvalidArgument;
        case TFailure::Exists:
            return texts::kFailureExists;
        case TFailure::HardLinked:
            return texts::kFailureHardLinked;
        case TFailure::SameFile:
            return texts::kFailureSameFile;
        case TFailure::FolderNotWritable:
            return texts::kFailureFolderNotWritable;
    }
    return texts::kFailureUnknown;
}

QString WithFailureReason(const QString& text, TFailure failure) {
    return WithReason(text, FailureReason(failure));
}

QString StoreFailureReason(TStoreFailure failure) {
    switch (failure) {
        case TStoreFailure::kNone:
            return {};
        case TStoreFailure::kNoHome:
            return texts::kStoreNoHome;
        case TStoreFailure::kNotDatabase:
            return texts::kStoreNotDatabase;
        case TStoreFailure::kDamaged:
            return texts::kStoreDamaged;
        case TStoreFailure::kOtherVersion:
            return texts::kStoreOtherVersion;
        case TStoreFailure::kNoPermission:
            return texts::kStoreNoPermission;
        case TStoreFailure::kDiskFull:
            return texts::kStoreDiskFull;
        case TStoreFailure::kBusy:
            return texts::kStoreBusy;
        case TStoreFailure::kIoError:
            break;
    }
    return texts::kStoreIoError;
}

QString LibraryReadError(TRegResult result) {
    return WithReason(texts::kLibraryReadError.arg(ResultCode(result)),
                      StoreFailureReason(SettingsStoreFailure(TRoot::kCurrentUser)));
}

QString LibraryTreeProblem() {
    TLibraryNode groups;
    const TRegResult result = ReadLibraryTree(groups);
    if (result == TRegResult::kOk || result == TRegResult::kNotFound) return {};
    return LibraryReadError(result);
}

}  // namespace vrk
