// Settings access and the in-memory store.
#include "core/settings/settings.h"

#include "core/host/error.h"
#include "core/text/number.h"

namespace qm::settings {

std::string Settings::get(const std::string& section, const std::string& key, const std::string& defaultText) {
    try {
        if (auto v = store_.read(kApp, section, key)) return *v;
    } catch (const platform::PlatformError&) {
        // An unreadable store reads as an empty one: settings never stop the add-in.
    }
    return defaultText;
}

void Settings::save(const std::string& section, const std::string& key, const std::string& value) {
    try {
        store_.write(kApp, section, key, value);
    } catch (const platform::PlatformError& e) {
        throw host::HostError(host::err::kInvalidCall,
                              host::standardDescription(host::err::kInvalidCall) + " (" + e.what() + ")");
    }
}

double Settings::number(const Key& key) {
    try {
        return text::val(get(key));
    } catch (const host::HostError&) {
        // A number beyond any range ("1e999", "&H1FFFFFFFF") reads as if it were missing.
        return text::val(key.defaultText);
    }
}
int32_t Settings::integer(const Key& key) { return text::toLong(get(key)); }
bool Settings::boolean(const Key& key) { return text::toBool(get(key)); }

namespace {
std::string storeKey(const std::string& app, const std::string& section, const std::string& key) {
    // Registry names compare without regard to case; so do these.
    std::string k = app + '\x1f' + section + '\x1f' + key;
    for (char& c : k) if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return k;
}
}  // namespace

std::optional<std::string> MemoryStore::read(const std::string& app, const std::string& section,
                                             const std::string& key) {
    auto it = values_.find(storeKey(app, section, key));
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void MemoryStore::write(const std::string& app, const std::string& section, const std::string& key,
                        const std::string& value) {
    values_[storeKey(app, section, key)] = value;
}

void MemoryStore::erase(const std::string& app, const std::string& section, const std::string& key) {
    values_.erase(storeKey(app, section, key));
}

}  // namespace qm::settings
