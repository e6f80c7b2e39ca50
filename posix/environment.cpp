// Reading the process environment.
#include "posix/environment.h"

#include <cstdlib>

namespace qm::posix {

std::optional<std::string> processEnvironment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

}  // namespace qm::posix
