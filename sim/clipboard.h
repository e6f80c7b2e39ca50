// The simulated clipboard: one text or picture per format number, as the platform
// clipboard interface sees it.
#pragma once

#include <map>
#include <string>
#include <variant>
#include <vector>

#include "core/platform/platform.h"

namespace qm::sim {

class SimClipboard : public platform::Clipboard {
public:
    void clear() override;
    bool hasFormat(int32_t format) override;
    std::optional<platform::Picture> getPicture(int32_t format) override;
    std::optional<std::string> getText(int32_t format) override;
    void setPicture(const platform::Picture& picture, int32_t format) override;
    void setText(const std::string& text, int32_t format) override;

    // The formats present, ascending.
    std::vector<int32_t> formats() const;

private:
    std::map<int32_t, std::variant<std::string, platform::Picture>> data_;
};

}  // namespace qm::sim
