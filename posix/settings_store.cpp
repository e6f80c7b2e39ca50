// The Linux settings file store.
#include "posix/settings_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "posix/settings_file.h"

namespace qm::posix {

namespace {

std::optional<std::string> accountHome() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr || *found->pw_dir == '\0')
        return std::nullopt;
    return std::string(found->pw_dir);
}

// Holds an exclusive lock on the settings folder while one writer re-reads, changes and
// replaces the file, so two processes writing at once both keep their value.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder) : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ < 0) throw platform::PlatformError(errnoMessage("cannot open the folder", folder, errno));
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            int error = errno;
            ::close(fd_);
            throw platform::PlatformError(errnoMessage("cannot lock the folder", folder, error));
        }
    }
    ~FolderLock() { ::close(fd_); }  // closing releases the lock
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_;
};

}  // namespace

PosixSettingsStore::PosixSettingsStore() : PosixSettingsStore(defaultPath(processEnvironment)) {}

PosixSettingsStore::PosixSettingsStore(std::string path, FileCalls calls) : path_(std::move(path)), calls_(calls) {}

std::string PosixSettingsStore::defaultPath(const Environment& env) {
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
    std::optional<std::string> base = env("XDG_CONFIG_HOME");
    if (!base || base->front() != '/') {
        std::optional<std::string> home = env("HOME");
        if (!home) home = accountHome();
        if (!home) return {};
        base = *home + "/.config";
    }
    return *base + "/quillmark/settings.ini";
}

std::optional<std::string> PosixSettingsStore::read(const std::string& app, const std::string& section,
                                                    const std::string& key) {
    if (path_.empty()) return std::nullopt;
    std::optional<std::string> text = readWholeFile(path_);
    if (!text) return std::nullopt;
    return SettingsFile::parse(*text).get(app, section, key);
}

void PosixSettingsStore::write(const std::string& app, const std::string& section, const std::string& key,
                               const std::string& value) {
    if (path_.empty()) throw platform::PlatformError("cannot save settings: no home folder is known");
    const std::string folder = folderOf(path_);
    createFolders(folder, 0700);
    FolderLock lock(folder);
    // Another process may have written since this one last looked: start from the file.
    int error = 0;
    std::optional<std::string> text = readWholeFile(path_, &error);
    // A file that is there but cannot be read is not replaced by one holding only this value.
    if (!text && error != ENOENT) throw platform::PlatformError(errnoMessage("cannot read", path_, error));
    SettingsFile file = SettingsFile::parse(text.value_or(std::string()));
    file.set(app, section, key, value);
    replaceFile(path_, file.text(), 0600, calls_);
}

}  // namespace qm::posix
