// The simulated host's accounting (call counts, failure injection, live handles), its
// events and the application-wide state.
#include "sim/world.h"

#include <algorithm>
#include <cctype>

#include "core/text/strings.h"
#include "sim/addin.h"

namespace qm::sim::detail {

std::string methodFailedText(const std::string& object, const std::string& member) {
    return "Method '" + member + "' of object '" + object + "' failed";
}

void throwMethodFailed(const std::string& object, const std::string& member) {
    throw host::HostError(host::err::kUnspecified, methodFailedText(object, member));
}

void throwNotSupported() { host::raise(host::err::kNotSupported); }

void throwInvalidCall() { host::raise(host::err::kInvalidCall); }

void throwUnableToSet(const std::string& property, const std::string& cls) {
    throw host::HostError(host::err::kApplicationDefined,
                          "Unable to set the " + property + " property of the " + cls + " class");
}

void throwOutOfRange() {
    throw host::HostError(-2147024809, "The specified value is out of range.");
}

bool sameName(const std::string& a, const std::string& b) { return text::equalsIgnoreCase(a, b); }

size_t characterCount(const std::string& s) {
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

World::World() { addBuiltinBars(); }

// ---------------------------------------------------------------- accounting

void World::enter(const std::string& call) {
    if (!accounting) return;
    ++totalCalls;
    ++callCounts[call];
    if (!call.empty() && call.back() == '=') ++totalWrites;
    if (observer) observer(call);

    std::optional<Failure> hit;
    for (auto it = failures.begin(); it != failures.end();) {
        bool now = false;
        if (it->atCall) {
            now = *it->atCall == totalCalls;
        } else if (it->member == call) {
            now = --it->memberCallsLeft == 0;
        }
        if (now) {
            // One call fails once, whatever number of failures was armed for it.
            if (!hit) hit = *it;
            it = failures.erase(it);
        } else {
            ++it;
        }
    }
    if (!hit) return;
    std::string description;
    if (hit->description) {
        description = *hit->description;
    } else {
        std::string name = call;
        if (!name.empty() && name.back() == '=') name.pop_back();
        const auto dot = name.find('.');
        description = dot == std::string::npos ? methodFailedText("", name)
                                               : methodFailedText(name.substr(0, dot), name.substr(dot + 1));
    }
    throw host::HostError(hit->number, description);
}

void World::handleCreated(const std::string& kind) {
    ++liveHandleTotal;
    ++liveHandleCounts[kind];
}

void World::handleDestroyed(const std::string& kind) {
    --liveHandleTotal;
    --liveHandleCounts[kind];
}

// ---------------------------------------------------------------- events

void World::fireUpdate() {
    if (updateDepth >= kUpdateDepthLimit) {
        // A handler without a re-entry guard would recurse for ever through its own
        // writes; stop here and let the test see it.
        updateOverflow = true;
        return;
    }
    ++updateDepth;
    maxUpdateDepth = std::max(maxUpdateDepth, updateDepth);
    const auto subscribers = updateSubscribers;
    try {
        for (const auto& s : subscribers) {
            if (!s->active) continue;
            const auto handler = s->handler;
            callHandler("OnUpdate", handler);
        }
    } catch (...) {
        --updateDepth;
        throw;
    }
    --updateDepth;
    std::erase_if(updateSubscribers, [](const auto& s) { return !s->active; });
}

void World::afterControlWrite() {
    if (reentrantUpdates && updateDepth > 0) fireUpdate();
}

void World::resetEvents() {
    auto drop = [this](auto& list) {
        for (auto& s : list) {
            if (s->active) --liveSubscriptionCount;
            s->active = false;
            s->handler = nullptr;
        }
        list.clear();
    };
    drop(updateSubscribers);
    drop(sheetChangeSubscribers);
    for (const auto& weak : clickSubscribers) {
        if (auto s = weak.lock(); s && s->active) {
            --liveSubscriptionCount;
            s->active = false;
            s->handler = nullptr;
        }
    }
    clickSubscribers.clear();
}

// ---------------------------------------------------------------- application

std::string World::caption() const {
    return activeBook ? "Microsoft Excel - " + activeBook->name : "Microsoft Excel";
}

bool* World::toggleFlag(int32_t id) {
    switch (id) {
        case host::ctl::kSelectObjects: return &selectObjects;
        case host::ctl::kSnapToGrid: return &snapToGrid;
        case host::ctl::kSnapToShape: return &snapToShape;
        default: return nullptr;
    }
}

std::optional<bool> World::toggle(int32_t id) const {
    switch (id) {
        case host::ctl::kSelectObjects: return selectObjects;
        case host::ctl::kSnapToGrid: return snapToGrid;
        case host::ctl::kSnapToShape: return snapToShape;
        default: return std::nullopt;
    }
}

void World::restart() {
    resetEvents();
    std::function<void(const BarNodePtr&)> dropTemporaryControls = [&](const BarNodePtr& bar) {
        const auto controls = bar->controls;
        for (const auto& c : controls) {
            if (c->temporary) deleteControl(c);
        }
        for (const auto& c : bar->controls) {
            if (c->subBar) dropTemporaryControls(c->subBar);
        }
    };
    const auto all = bars;
    for (const auto& b : all) {
        if (b->temporary) deleteBar(b);
    }
    for (const auto& b : bars) dropTemporaryControls(b);
    cellEditMode = false;
    updateDepth = 0;
}

// ---------------------------------------------------------------- cell addresses

namespace {

bool parseCell(const std::string& s, CellRef& out) {
    size_t i = 0;
    if (i < s.size() && s[i] == '$') ++i;
    int32_t column = 0;
    size_t letters = 0;
    while (i < s.size() && std::isalpha(static_cast<unsigned char>(s[i]))) {
        column = column * 26 + (std::toupper(static_cast<unsigned char>(s[i])) - 'A' + 1);
        ++i;
        if (++letters > 2) return false;
    }
    if (letters == 0) return false;
    if (i < s.size() && s[i] == '$') ++i;
    int64_t row = 0;
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        row = row * 10 + (s[i] - '0');
        ++i;
        if (++digits > 6) return false;
    }
    if (digits == 0 || i != s.size()) return false;
    if (column < 1 || column > kSheetColumns || row < 1 || row > kSheetRows) return false;
    out = CellRef{static_cast<int32_t>(row), column};
    return true;
}

}  // namespace

std::string columnLetters(int32_t column) {
    std::string s;
    while (column > 0) {
        const int32_t r = (column - 1) % 26;
        s.insert(s.begin(), static_cast<char>('A' + r));
        column = (column - 1) / 26;
    }
    return s;
}

std::optional<CellArea> parseAddress(const std::string& address) {
    const auto colon = address.find(':');
    CellArea area;
    if (colon == std::string::npos) {
        if (!parseCell(address, area.first)) return std::nullopt;
        area.last = area.first;
        return area;
    }
    CellRef a, b;
    if (!parseCell(address.substr(0, colon), a) || !parseCell(address.substr(colon + 1), b)) return std::nullopt;
    area.first = CellRef{std::min(a.row, b.row), std::min(a.column, b.column)};
    area.last = CellRef{std::max(a.row, b.row), std::max(a.column, b.column)};
    return area;
}

std::string addressText(const CellArea& area) {
    if (area.all) return "$1:$" + std::to_string(kSheetRows);
    auto cell = [](const CellRef& c) { return "$" + columnLetters(c.column) + "$" + std::to_string(c.row); };
    if (area.first == area.last) return cell(area.first);
    return cell(area.first) + ":" + cell(area.last);
}

int64_t cellCount(const CellArea& area) {
    if (area.all) return int64_t{kSheetRows} * kSheetColumns;
    return int64_t{area.last.row - area.first.row + 1} * (area.last.column - area.first.column + 1);
}

}  // namespace qm::sim::detail
