#include "failure.h"

#include <cerrno>
#include <cstring>

namespace vrk {

const char* FailureText(TFailure failure) {
    switch (failure) {
        case TFailure::None:
            return "no failure";
        case TFailure::NotFound:
            return "not found";
        case TFailure::Busy:
            return "busy: another program is using it";
        case TFailure::NoPermission:
            return "no permission";
        case TFailure::NotRegularFile:
            return "not a regular file";
        case TFailure::Damaged:
            return "damaged or not a dictionary";
        case TFailure::RecordTooLong:
            return "entry too long or holding a zero byte";
        case TFailure::DiskFull:
            return "disk full";
        case TFailure::IoError:
            return "input/output error";
        case TFailure::Stopped:
            return "stopped";
        case TFailure::EntryChanged:
            return "the entry was changed by another program";
        case TFailure::InvalidArgument:
            return "invalid argument";
        case TFailure::Exists:
            return "the file exists already";
        case TFailure::HardLinked:
            return "the file has more than one hard link; changing it would split them";
        case TFailure::SameFile:
            return "the target is the dictionary itself";
        case TFailure::FolderNotWritable:
            return "no new file can be made in the dictionary's folder (the folder must be "
                   "writable to change it)";
    }
    return "unknown failure";
}

std::string DescribeFailure(TFailure failure, int errnoValue) {
    std::string text = FailureText(failure);
    if (errnoValue != 0 && (failure == TFailure::IoError || failure == TFailure::DiskFull)) {
        text += " (";
        text += std::strerror(errnoValue);
        text += ")";
    }
    return text;
}

TFailure FailureFromErrno(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
        case ENOTDIR:
            return TFailure::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return TFailure::NoPermission;
        case EWOULDBLOCK:
            return TFailure::Busy;
        case ECANCELED:  // a wait for a lock that the caller stopped
            return TFailure::Stopped;
        case EEXIST:
            return TFailure::Exists;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return TFailure::DiskFull;
        case EISDIR:
        case ENXIO:
        case ENODEV:
            return TFailure::NotRegularFile;
        default:
            return TFailure::IoError;
    }
}

}  // namespace vrk
