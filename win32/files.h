// Temporary files and the add-in's own files on Windows. Paths are UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "core/platform/platform.h"
#include "win32/utf.h"

namespace qm::win32 {

struct HandleCloser { void operator()(HANDLE handle) const noexcept { ::CloseHandle(handle); } };
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

class Win32TempFiles : public platform::TempFiles {
public:
    // GetTempPath, ending in "\".
    std::optional<std::string> tempFolder() override;
    // GetTempFileName with a system-chosen number: "<prefix, 3 characters><hex>.TMP",
    // created empty.
    std::optional<std::string> createTempFile(const std::string& folder, const std::string& prefix) override;
};

class Win32FileSystem : public platform::FileSystem {
public:
    // Writes a new file in the same folder, flushes it, then moves it over `path` with
    // MoveFileEx (replace, write through). The new file is removed on every failure.
    void writeFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) override;
    std::optional<std::vector<uint8_t>> readFile(const std::string& path) override;
    bool removeFile(const std::string& path) override;
    bool exists(const std::string& path) override;
};

}  // namespace qm::win32
