// Standard error descriptions and the add-in's error message text.
#include "core/host/error.h"

namespace qm::host {

std::string standardDescription(int32_t number) {
    switch (number) {
        case err::kInvalidCall: return "Invalid procedure call or argument";
        case err::kOverflow: return "Overflow";
        case err::kTypeMismatch: return "Type mismatch";
        case err::kObjectNotSet: return "Object variable or With block variable not set";
        case err::kObjectRequired: return "Object required";
        case err::kNotSupported: return "Object doesn't support this property or method";
        case err::kApplicationDefined: return "Application-defined or object-defined error";
        case err::kCommonDialogCancel: return "Cancel was selected.";
        case err::kUnspecified: return "Automation error";
        default: return "Application-defined or object-defined error";
    }
}

void raise(int32_t number) { throw HostError(number, standardDescription(number)); }

std::string errorMessageText(const HostError& e) {
    return "(" + std::to_string(e.number()) + ") " + e.description();
}

}  // namespace qm::host
