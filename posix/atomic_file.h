// Whole-file reads and crash-safe whole-file replacement, shared by the settings file
// and the add-in's own files on Linux.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace qm::posix {

// The system calls a replacement makes that can fail once the new file exists. Tests
// substitute a failing one to check that nothing is left behind and the old file stays.
struct FileCalls {
    ssize_t (*write)(int fd, const void* data, size_t size) = ::write;
    int (*fsync)(int fd) = ::fsync;
    int (*rename)(const char* from, const char* to) = ::rename;
};

// Writes `bytes` to a new file in the folder of `path`, flushes it to disk, renames it
// over `path` and flushes the folder, so a crash leaves either the old or the new file,
// never a mix. The new file keeps the permissions of the one it replaces, or gets
// `newFileMode` (less the umask). On failure the new file is removed, `path` is
// untouched, and PlatformError names the path and the reason.
void replaceFile(const std::string& path, std::string_view bytes, mode_t newFileMode, const FileCalls& calls);

// The whole file; nothing when it is missing, a folder or unreadable, with the reason
// (an errno value) in `error` when given.
std::optional<std::string> readWholeFile(const std::string& path, int* error = nullptr);

// Creates `folder` and any missing parents with `mode`; throws PlatformError.
void createFolders(const std::string& folder, mode_t mode);

// The folder part of a path ("." when it has none).
std::string folderOf(const std::string& path);

// "<what> <path>: <reason for errno>", the text of a PlatformError.
std::string errnoMessage(const std::string& what, const std::string& path, int error);

}  // namespace qm::posix
