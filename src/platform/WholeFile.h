#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "store/Error.h"

namespace pesterly {

// Replaces the file with the bytes, all at once: a failure leaves any earlier file as it was.
Result<void> WriteWholeFile(const QString& path, const std::string& bytes);

// The whole file; an error for a file that cannot be read or is too large to be one of ours.
Result<std::string> ReadWholeFile(const QString& path);

// What reading a file found. Only regular files are read: a pipe, a device or a folder is
// refused at once instead of blocking the program.
struct FileContents {
    enum class Status { kRead, kMissing, kFailed };
    Status status = Status::kMissing;
    std::string bytes;   // kRead: the file
    std::string reason;  // otherwise: why, in words a person can act on
};
FileContents ReadRegularFile(const QString& path, int64_t largest);

// Writes the bytes to a new file beside the one named (or the one a symbolic link there points
// to), readable by its owner only, and renames it over the old one. The data is synced before
// the rename and the folder after it, so that the new file survives a power cut.
Result<void> ReplacePrivateFile(const QString& path, const std::string& bytes);

// Removes the new files that ReplacePrivateFile left beside this one when a save was cut short
// (killed before the rename): files of this user named as it makes them that no process has
// open, so a save under way in another process keeps its file.
void RemoveStaleCopies(const QString& path);

}  // namespace pesterly
