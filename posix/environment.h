// Environment variables as the Linux services read them, passed in so that each service
// can be given a different environment than the process's own.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace qm::posix {

// The value of one variable; nothing when it is unset or empty.
using Environment = std::function<std::optional<std::string>(const std::string& name)>;

// The process environment.
std::optional<std::string> processEnvironment(const std::string& name);

}  // namespace qm::posix
