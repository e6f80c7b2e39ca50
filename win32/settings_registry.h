// Per-user settings in the registry, under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>, as REG_SZ
// values: the place and form earlier installations used, so their settings still read.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "core/platform/platform.h"
#include "win32/utf.h"

namespace qm::win32 {

struct HkeyCloser { void operator()(HKEY key) const noexcept { ::RegCloseKey(key); } };
using UniqueHkey = std::unique_ptr<std::remove_pointer_t<HKEY>, HkeyCloser>;

class RegistrySettingsStore : public platform::SettingsStore {
public:
    // "Software\VB and VBA Program Settings\<app>\<section>", relative to HKEY_CURRENT_USER.
    static std::wstring keyPath(const std::string& app, const std::string& section);

    // A missing key or value reads as nothing; so does a value whose type has no
    // sensible text (binary, multi-string). Numbers read as their decimal text.
    std::optional<std::string> read(const std::string& app, const std::string& section,
                                    const std::string& key) override;
    // Throws PlatformError with the system's reason when the key or value cannot be written.
    void write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& value) override;
    // The failure write throws for the system's error `result`.
    static platform::PlatformError writeFailure(const std::string& app, const std::string& section,
                                                const std::string& key, LONG result);
};

}  // namespace qm::win32
