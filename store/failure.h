// Why a dictionary operation failed. Every operation of TDataFile keeps its
// result (false, -1) and also records one of these reasons, so that callers
// can tell a dictionary that is only busy or out of reach from one that is
// gone or damaged, and can say so.
#pragma once

#include <string>

namespace vrk {

enum class TFailure {
    None,               // the last operation succeeded
    NotFound,           // the file (or its folder) does not exist
    Busy,               // another process held its lock longer than LockTimeout()
    NoPermission,       // the file or its folder may not be read or written
    NotRegularFile,     // a folder, a FIFO, a device: not a dictionary
    Damaged,            // not a dictionary, or a damaged one
    RecordTooLong,      // a text over 99 999 bytes, or one holding a 0x00 byte
    DiskFull,           // no space (or quota) left for the rewritten file
    IoError,            // any other error of the file system (see LastErrno)
    Stopped,            // the caller asked the operation to stop
    EntryChanged,       // the entry no longer holds what the caller expected
    InvalidArgument,    // an index outside the entries, a letter that may not be used, a malformed
                        // pattern
    Exists,             // a file that was to be made new is there already
    HardLinked,         // the dictionary has more than one name (hard link); see data_file.h
    SameFile,           // the other file of an export is the dictionary itself
    FolderNotWritable,  // no new file can be made in the dictionary's folder; a change
                        // writes the new dictionary there, so it is refused (data_file.h)
};

// A short English description, for the command-line tool and for logs.
const char* FailureText(TFailure failure);
// FailureText, with the system's message for errnoValue when it is not 0.
std::string DescribeFailure(TFailure failure, int errnoValue);

// The reason that best describes a system call's errno.
TFailure FailureFromErrno(int errnoValue);

}  // namespace vrk
