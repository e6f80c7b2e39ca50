// Whole-file reads and crash-safe replacement on Linux.
#include "posix/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <system_error>

#include "core/platform/platform.h"

namespace qm::posix {

namespace {

// Closes a descriptor on every path out of a scope.
struct FdOwner {
    int fd = -1;
    ~FdOwner() { if (fd >= 0) ::close(fd); }
};

std::string hex(uint64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4) out[static_cast<size_t>(i)] = kDigits[value & 0xF];
    return out;
}

std::string baseNameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Opens a new file beside `path` under a name no other writer uses; returns its name.
std::string createSibling(const std::string& path, mode_t mode, FdOwner& out) {
    const std::string folder = folderOf(path);
    const std::string stem = folder + "/." + baseNameOf(path) + ".";
    uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    (static_cast<uint64_t>(::getpid()) << 40);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = stem + hex(seed + static_cast<uint64_t>(attempt) * 0x9E3779B97F4A7C15ull, 12) + ".tmp";
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            out.fd = fd;
            return name;
        }
        if (errno != EEXIST) throw platform::PlatformError(errnoMessage("cannot create a file beside", path, errno));
    }
    throw platform::PlatformError(errnoMessage("cannot create a file beside", path, EEXIST));
}

void writeAll(int fd, std::string_view bytes, const FileCalls& calls) {
    while (!bytes.empty()) {
        ssize_t n = calls.write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(errno, std::generic_category());
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

}  // namespace

std::string errnoMessage(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::generic_category().message(error);
}

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

void replaceFile(const std::string& path, std::string_view bytes, mode_t newFileMode, const FileCalls& calls) {
    struct stat existing {};
    const bool replacing = ::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);

    FdOwner file;
    const std::string temp = createSibling(path, newFileMode, file);
    try {
        try {
            if (replacing) ::fchmod(file.fd, existing.st_mode & 07777);
            writeAll(file.fd, bytes, calls);
            if (calls.fsync(file.fd) != 0) throw std::system_error(errno, std::generic_category());
        } catch (const std::system_error& e) {
            throw platform::PlatformError(errnoMessage("cannot write", path, e.code().value()));
        }
        int closed = ::close(file.fd);
        file.fd = -1;
        if (closed != 0) throw platform::PlatformError(errnoMessage("cannot write", path, errno));
        if (calls.rename(temp.c_str(), path.c_str()) != 0)
            throw platform::PlatformError(errnoMessage("cannot replace", path, errno));
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }

    // The rename is done: a crash from here on leaves the new file or the old one, both
    // whole, so a folder that cannot be flushed is no reason to report a failure.
    FdOwner folder{::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (folder.fd >= 0) ::fsync(folder.fd);
}

std::optional<std::string> readWholeFile(const std::string& path, int* error) {
    auto fail = [error](int reason) -> std::optional<std::string> {
        if (error) *error = reason;
        return std::nullopt;
    };
    FdOwner file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) return fail(errno);
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) return fail(errno);
    if (S_ISDIR(info.st_mode)) return fail(EISDIR);
    std::string out;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(file.fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (n == 0) return out;
        out.append(buffer, static_cast<size_t>(n));
    }
}

void createFolders(const std::string& folder, mode_t mode) {
    if (folder.empty()) return;
    for (size_t pos = 1;; ++pos) {
        pos = folder.find('/', pos);
        const std::string part = folder.substr(0, pos);
        if (::mkdir(part.c_str(), mode) != 0 && errno != EEXIST)
            throw platform::PlatformError(errnoMessage("cannot create the folder", part, errno));
        if (pos == std::string::npos) break;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw platform::PlatformError(errnoMessage("cannot create the folder", folder, ENOTDIR));
}

}  // namespace qm::posix
