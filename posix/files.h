// Temporary files and the add-in's own files on Linux.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/platform.h"
#include "posix/atomic_file.h"
#include "posix/environment.h"

namespace qm::posix {

class PosixTempFiles : public platform::TempFiles {
public:
    explicit PosixTempFiles(Environment env = processEnvironment);

    // $TMPDIR, or /tmp, ending in "/".
    std::optional<std::string> tempFolder() override;
    // Creates "<first 3 characters of prefix><4 hex digits>.TMP" as Windows' temp file
    // names are formed, never reusing a name that exists; nothing when the folder cannot
    // take a new file or the prefix holds a "/".
    std::optional<std::string> createTempFile(const std::string& folder, const std::string& prefix) override;

private:
    Environment env_;
    uint32_t next_;  // the next number to try
};

class PosixFileSystem : public platform::FileSystem {
public:
    explicit PosixFileSystem(FileCalls calls = {}) : calls_(calls) {}

    void writeFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) override;
    std::optional<std::vector<uint8_t>> readFile(const std::string& path) override;
    bool removeFile(const std::string& path) override;
    bool exists(const std::string& path) override;

private:
    FileCalls calls_;
};

}  // namespace qm::posix
