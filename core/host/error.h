// The one failure type of the host seams: an automation error with the number and
// description a user of the classic form model knows (1004, 5, 91, 438 ...).
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace qm::host {

// Error numbers the add-in and its hosts use by name.
namespace err {
inline constexpr int32_t kInvalidCall = 5;          // invalid procedure call or argument
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kObjectNotSet = 91;        // object variable not set
inline constexpr int32_t kObjectRequired = 424;
inline constexpr int32_t kNotSupported = 438;       // object doesn't support this property or method
inline constexpr int32_t kApplicationDefined = 1004;
inline constexpr int32_t kCommonDialogCancel = 32755;
inline constexpr int32_t kUnspecified = -2147467259;  // 0x80004005, "Automation error"
}  // namespace err

class HostError : public std::exception {
public:
    HostError(int32_t number, std::string description)
        : number_(number), description_(std::move(description)) {}

    int32_t number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    int32_t number_;
    std::string description_;
};

// The standard descriptions for the numbers above, as the classic runtime words them.
std::string standardDescription(int32_t number);

// Throws HostError with the standard description of `number`.
[[noreturn]] void raise(int32_t number);

// "(" number ") " description: the text of every error message box of the add-in.
std::string errorMessageText(const HostError& e);

}  // namespace qm::host
