// Locale names, country names and month abbreviations on Linux.
#include "posix/locale.h"

#include <array>
#include <utility>

#include "core/text/strings.h"

namespace qm::posix {

namespace {

// ISO 3166 codes and their English short names, in the common spelling.
constexpr std::pair<std::string_view, std::string_view> kCountries[] = {
    {"AD", "Andorra"}, {"AE", "United Arab Emirates"}, {"AF", "Afghanistan"}, {"AL", "Albania"},
    {"AM", "Armenia"}, {"AO", "Angola"}, {"AR", "Argentina"}, {"AT", "Austria"},
    {"AU", "Australia"}, {"AZ", "Azerbaijan"}, {"BA", "Bosnia and Herzegovina"}, {"BD", "Bangladesh"},
    {"BE", "Belgium"}, {"BG", "Bulgaria"}, {"BH", "Bahrain"}, {"BN", "Brunei"},
    {"BO", "Bolivia"}, {"BR", "Brazil"}, {"BW", "Botswana"}, {"BY", "Belarus"},
    {"CA", "Canada"}, {"CH", "Switzerland"}, {"CL", "Chile"}, {"CM", "Cameroon"},
    {"CN", "China"}, {"CO", "Colombia"}, {"CR", "Costa Rica"}, {"CU", "Cuba"},
    {"CY", "Cyprus"}, {"CZ", "Czech Republic"}, {"DE", "Germany"}, {"DK", "Denmark"},
    {"DO", "Dominican Republic"}, {"DZ", "Algeria"}, {"EC", "Ecuador"}, {"EE", "Estonia"},
    {"EG", "Egypt"}, {"ES", "Spain"}, {"ET", "Ethiopia"}, {"FI", "Finland"},
    {"FO", "Faroe Islands"}, {"FR", "France"}, {"GB", "United Kingdom"}, {"GE", "Georgia"},
    {"GH", "Ghana"}, {"GL", "Greenland"}, {"GR", "Greece"}, {"GT", "Guatemala"},
    {"HK", "Hong Kong"}, {"HN", "Honduras"}, {"HR", "Croatia"}, {"HU", "Hungary"},
    {"ID", "Indonesia"}, {"IE", "Ireland"}, {"IL", "Israel"}, {"IN", "India"},
    {"IQ", "Iraq"}, {"IR", "Iran"}, {"IS", "Iceland"}, {"IT", "Italy"},
    {"JM", "Jamaica"}, {"JO", "Jordan"}, {"JP", "Japan"}, {"KE", "Kenya"},
    {"KG", "Kyrgyzstan"}, {"KH", "Cambodia"}, {"KR", "Korea"}, {"KW", "Kuwait"},
    {"KZ", "Kazakhstan"}, {"LA", "Laos"}, {"LB", "Lebanon"}, {"LI", "Liechtenstein"},
    {"LK", "Sri Lanka"}, {"LT", "Lithuania"}, {"LU", "Luxembourg"}, {"LV", "Latvia"},
    {"LY", "Libya"}, {"MA", "Morocco"}, {"MC", "Monaco"}, {"MD", "Moldova"},
    {"ME", "Montenegro"}, {"MK", "North Macedonia"}, {"MM", "Myanmar"}, {"MN", "Mongolia"},
    {"MO", "Macao"}, {"MT", "Malta"}, {"MV", "Maldives"}, {"MX", "Mexico"},
    {"MY", "Malaysia"}, {"MZ", "Mozambique"}, {"NA", "Namibia"}, {"NG", "Nigeria"},
    {"NI", "Nicaragua"}, {"NL", "Netherlands"}, {"NO", "Norway"}, {"NP", "Nepal"},
    {"NZ", "New Zealand"}, {"OM", "Oman"}, {"PA", "Panama"}, {"PE", "Peru"},
    {"PH", "Philippines"}, {"PK", "Pakistan"}, {"PL", "Poland"}, {"PR", "Puerto Rico"},
    {"PT", "Portugal"}, {"PY", "Paraguay"}, {"QA", "Qatar"}, {"RO", "Romania"},
    {"RS", "Serbia"}, {"RU", "Russia"}, {"RW", "Rwanda"}, {"SA", "Saudi Arabia"},
    {"SE", "Sweden"}, {"SG", "Singapore"}, {"SI", "Slovenia"}, {"SK", "Slovakia"},
    {"SN", "Senegal"}, {"SV", "El Salvador"}, {"SY", "Syria"}, {"TH", "Thailand"},
    {"TN", "Tunisia"}, {"TR", "Turkey"}, {"TT", "Trinidad and Tobago"}, {"TW", "Taiwan"},
    {"TZ", "Tanzania"}, {"UA", "Ukraine"}, {"UG", "Uganda"}, {"US", "United States"},
    {"UY", "Uruguay"}, {"UZ", "Uzbekistan"}, {"VE", "Venezuela"}, {"VN", "Vietnam"},
    {"YE", "Yemen"}, {"ZA", "South Africa"}, {"ZM", "Zambia"}, {"ZW", "Zimbabwe"},
};

constexpr std::array<std::string_view, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

LocaleName parseLocaleName(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@"));
    LocaleName out;
    size_t underscore = name.find('_');
    out.language = std::string(name.substr(0, underscore));
    if (underscore != std::string_view::npos) {
        std::string_view territory = name.substr(underscore + 1);
        if (territory.size() == 2 && isAsciiLetter(territory[0]) && isAsciiLetter(territory[1]))
            out.territory = text::upperAscii(territory);
    }
    return out;
}

std::optional<std::string> englishCountryName(std::string_view code) {
    for (const auto& [iso, name] : kCountries)
        if (iso == code) return std::string(name);
    return std::nullopt;
}

std::string PosixLocale::localeName() const {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (auto value = env_(variable)) return *value;
    return "C";
}

std::optional<std::string> PosixLocale::userCountryName() {
    LocaleName name = parseLocaleName(localeName());
    if (name.territory.empty()) return std::nullopt;
    return englishCountryName(name.territory);
}

std::string PosixLocale::abbreviatedMonthName(int month) {
    if (month < 1 || month > 12) return {};
    if (text::equalsIgnoreCase(parseLocaleName(localeName()).language, "ja")) return std::to_string(month);
    return std::string(kMonths[static_cast<size_t>(month - 1)]);
}

}  // namespace qm::posix
