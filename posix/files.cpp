// Temporary files and whole-file access on Linux.
#include "posix/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace qm::posix {

namespace {

// At most three characters, counting a UTF-8 sequence as one, as Windows takes three
// characters of the prefix.
std::string firstCharacters(const std::string& text, int count) {
    size_t end = 0;
    for (int n = 0; n < count && end < text.size(); ++n) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    }
    return text.substr(0, end);
}

std::string hex4(uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4) out[static_cast<size_t>(i)] = kDigits[value & 0xF];
    return out;
}

}  // namespace

PosixTempFiles::PosixTempFiles(Environment env)
    : env_(std::move(env)),
      // Different starting points make two processes rarely try the same names.
      next_(static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
            static_cast<uint32_t>(::getpid())) {}

std::optional<std::string> PosixTempFiles::tempFolder() {
    std::string folder = env_("TMPDIR").value_or("/tmp");
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::optional<std::string> PosixTempFiles::createTempFile(const std::string& folder, const std::string& prefix) {
    const std::string start = firstCharacters(prefix, 3);
    if (start.find('/') != std::string::npos) return std::nullopt;
    std::string stem = folder;
    if (!stem.empty() && stem.back() != '/') stem += '/';
    stem += start;
    // Four hex digits give 65535 names (0 is never used, as on Windows).
    for (uint32_t tried = 0; tried < 0xFFFF; ++tried) {
        uint32_t number = next_++ & 0xFFFF;
        if (number == 0) number = next_++ & 0xFFFF;
        std::string path = stem + hex4(number) + ".TMP";
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

void PosixFileSystem::writeFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
    replaceFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), 0666, calls_);
}

std::optional<std::vector<uint8_t>> PosixFileSystem::readFile(const std::string& path) {
    std::optional<std::string> text = readWholeFile(path);
    if (!text) return std::nullopt;
    return std::vector<uint8_t>(text->begin(), text->end());
}

bool PosixFileSystem::removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool PosixFileSystem::exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

}  // namespace qm::posix
