// Opening documents and web addresses on Linux through the desktop's opener (xdg-open).
#pragma once

#include <optional>
#include <string>

#include "core/platform/platform.h"
#include "posix/environment.h"

namespace qm::posix {

class PosixShell : public platform::Shell {
public:
    explicit PosixShell(Environment env = processEnvironment) : env_(std::move(env)) {}

    // The full path of xdg-open on PATH, if there is one.
    std::optional<std::string> findOpener() const;

    // Starts xdg-open on the address, detached, with no terminal streams, and does not
    // wait for the program it starts; does nothing when there is no opener. Never throws.
    void open(const std::string& address) override;

private:
    Environment env_;
};

}  // namespace qm::posix
