// A picture box's drawing scale, the same in both toolkits: twips, or a user scale whose
// inner area (inside the border) spans width x height units from left, top.
#pragma once

#include <cmath>
#include <optional>
#include <string>

namespace qm::ui {

class DrawScale {
public:
    struct User {
        double left, top, width, height;
    };

    void setTwips() noexcept { user_.reset(); }
    // Width or height 0 is error 380 (`control` names the box in its description);
    // negative ones flip the axis. The scale keeps its units when the box is resized.
    void setUser(const std::string& control, double left, double top, double width, double height);
    const std::optional<User>& user() const noexcept { return user_; }

    // The inner area's size in the scale's units, given its size in twips.
    double width(double innerWidth) const noexcept { return user_ ? user_->width : innerWidth; }
    double height(double innerHeight) const noexcept { return user_ ? user_->height : innerHeight; }
    // A point in the scale to twips inside the inner area.
    double toTwipsX(double x, double innerWidth) const noexcept {
        return user_ ? (x - user_->left) * innerWidth / user_->width : x;
    }
    double toTwipsY(double y, double innerHeight) const noexcept {
        return user_ ? (y - user_->top) * innerHeight / user_->height : y;
    }
    // A length in twips to the scale's units: a size, so never negative.
    double lengthFromTwipsX(double twips, double innerWidth) const noexcept {
        return lengthFromTwips(twips, innerWidth, user_ ? user_->width : 0);
    }
    double lengthFromTwipsY(double twips, double innerHeight) const noexcept {
        return lengthFromTwips(twips, innerHeight, user_ ? user_->height : 0);
    }

private:
    double lengthFromTwips(double twips, double inner, double units) const noexcept {
        if (!user_) return twips;
        return inner > 0 ? twips * std::fabs(units) / inner : 0;
    }

    std::optional<User> user_;
};

}  // namespace qm::ui
