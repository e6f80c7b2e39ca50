// Per-user settings on Linux: one file, $XDG_CONFIG_HOME/quillmark/settings.ini, that
// every write re-reads and replaces whole, so several add-in processes can share it.
#pragma once

#include <optional>
#include <string>

#include "core/platform/platform.h"
#include "posix/atomic_file.h"
#include "posix/environment.h"

namespace qm::posix {

class PosixSettingsStore : public platform::SettingsStore {
public:
    // The current user's file.
    PosixSettingsStore();
    explicit PosixSettingsStore(std::string path, FileCalls calls = {});

    // $XDG_CONFIG_HOME/quillmark/settings.ini, or under $HOME/.config (the account's home
    // folder when HOME is unset); empty when no home folder is known.
    static std::string defaultPath(const Environment& env);

    const std::string& path() const { return path_; }

    // A missing, unreadable or damaged file never fails a read: what cannot be read
    // reads as missing.
    std::optional<std::string> read(const std::string& app, const std::string& section,
                                    const std::string& key) override;
    void write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& value) override;

private:
    std::string path_;
    FileCalls calls_;
};

}  // namespace qm::posix
