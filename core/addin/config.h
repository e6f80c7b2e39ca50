// Build-time facts of the product: its title, version, release date and web addresses.
#pragma once

#include <string>

namespace qm::addin {

struct Config {
    std::string productTitle = "Quillmark in Excel";
    int versionMajor = 1;
    int versionMinor = 1;
    int releaseYear = 2006;
    int releaseMonth = 7;
    int releaseDay = 26;
#if defined(QM_DEVELOPER_SITE_URL)
    std::string developerSiteUrl = QM_DEVELOPER_SITE_URL;
#else
    std::string developerSiteUrl = "https://quillmark.example.org/";
#endif
#if defined(QM_HELP_URL)
    std::string helpUrl = QM_HELP_URL;
#else
    std::string helpUrl = "https://quillmark.example.org/help/";
#endif
};

// The text refusing host versions 12 and later; fixed English, since no language is
// chosen before the version check.
inline constexpr const char* kRefusalText = "It doesn't correspond to Excel 2007.";

}  // namespace qm::addin
