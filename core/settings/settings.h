// Typed access to the per-user settings store: every key the add-in keeps, with the
// default its readers apply, and the conversions of stored text.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "core/platform/platform.h"

namespace qm::settings {

inline constexpr const char* kApp = "NVK_QM_ZUZEVADE";

struct Key {
    const char* section;
    const char* name;
    const char* defaultText;  // what a reader gets when the key is missing
};

namespace keys {
inline constexpr Key GridWidth{"Setting", "GridWidth", "1.0"};
inline constexpr Key GridHeight{"Setting", "GridHeight", "10.0"};
inline constexpr Key ShapeSelectMode{"Setting", "ShapeSelectMode", "1"};
inline constexpr Key FitGrid{"Setting", "FitGrid", "1"};
inline constexpr Key FitShapes{"Setting", "FitShapes", "1"};
inline constexpr Key FormulaBar{"Setting", "FormulaBar", "0"};
inline constexpr Key ShowBarArray{"Setting", "ShowBarArray", ""};
inline constexpr Key ShowBarname{"Setting", "ShowBarname", "1"};
inline constexpr Key BackColor{"Setting", "BackColor", "0"};
inline constexpr Key BackColorValue{"Setting", "BackColorValue", "&HFFFFFF"};
inline constexpr Key OnePoint{"App", "OnePoint", "1"};
// The add-in toolbar's place; the defaults are numbers and a Boolean in their text form.
inline constexpr Key BarPosition{"Bar", "Position", "1"};
inline constexpr Key BarRowIndex{"Bar", "RowIndex", "-1"};
inline constexpr Key BarLeft{"Bar", "Left", "0"};
inline constexpr Key BarTop{"Bar", "Top", "0"};
inline constexpr Key BarVisible{"Bar", "Visible", "True"};
}  // namespace keys

class Settings {
public:
    explicit Settings(platform::SettingsStore& store) : store_(store) {}

    // GetSetting: the stored text, or the default when the key (or section) is missing
    // or the store cannot be read.
    std::string get(const std::string& section, const std::string& key, const std::string& defaultText);
    std::string get(const Key& key) { return get(key.section, key.name, key.defaultText); }

    // SaveSetting. A store that cannot be written raises host error 5 with the reason.
    void save(const std::string& section, const std::string& key, const std::string& value);
    void save(const Key& key, const std::string& value) { save(key.section, key.name, value); }

    // The three readings of a stored text.
    double number(const Key& key);    // lenient: never fails; the default where out of range
    int32_t integer(const Key& key);  // strict: host error 13 when not a number
    bool boolean(const Key& key);     // strict: host error 13
    bool flag(const Key& key) { return number(key) == 1.0; }

private:
    platform::SettingsStore& store_;
};

// An in-memory store: tests, and scenario runs that must not touch the user's settings.
class MemoryStore : public platform::SettingsStore {
public:
    std::optional<std::string> read(const std::string& app, const std::string& section,
                                    const std::string& key) override;
    void write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& value) override;
    void erase(const std::string& app, const std::string& section, const std::string& key);
    size_t size() const { return values_.size(); }

private:
    std::map<std::string, std::string> values_;
};

}  // namespace qm::settings
