// Command bar behaviour of the simulated host: the collection, docking and geometry,
// controls and the built-in catalogue, FindControl, Execute and click routing.
#include <algorithm>
#include <functional>
#include <stdexcept>

#include "core/text/strings.h"
#include "sim/addin.h"
#include "sim/catalogue.h"
#include "sim/handles.h"
#include "sim/world.h"

namespace qm::sim::detail {
namespace {

using namespace host;

// Main window frame as the bars see it: frame, title bar, status bar; rows of docked bars.
constexpr int32_t kFrame = 4;
constexpr int32_t kTitleBar = 26;
constexpr int32_t kStatusBar = 20;
constexpr int32_t kRowHeight = 26;
constexpr int32_t kFloatingBorder = 6;
constexpr int32_t kDockedBorder = 10;
constexpr int32_t kIconWidth = 23;
constexpr int32_t kSplitButtonWidth = 35;
constexpr int32_t kDefaultComboWidth = 100;

struct ClientArea {
    int32_t left, top, right, bottom;
};

ClientArea clientArea(const std::optional<platform::Rect>& window) {
    const platform::Rect r = window.value_or(kDefaultMainWindow);
    return {r.left + kFrame, r.top + kFrame + kTitleBar, r.right - kFrame, r.bottom - kFrame - kStatusBar};
}

bool docked(int32_t position) { return position >= msoBarLeft && position <= msoBarBottom; }
bool horizontalDock(int32_t position) { return position == msoBarTop || position == msoBarBottom; }

// Caption width: 7 pixels per character shown (an ampersand marks the access key and
// is not shown; "&&" shows one) plus 8.
int32_t captionWidth(const std::string& caption) {
    std::string shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                shown += '&';
                ++i;
            }
            continue;
        }
        shown += caption[i];
    }
    return static_cast<int32_t>(characterCount(shown)) * 7 + 8;
}

void markDeleted(const BarNodePtr& bar);

void markDeleted(const ControlNodePtr& ctrl) {
    ctrl->deleted = true;
    if (ctrl->subBar) markDeleted(ctrl->subBar);
}

void markDeleted(const BarNodePtr& bar) {
    bar->deleted = true;
    for (const auto& c : bar->controls) markDeleted(c);
}

bool matches(const ControlNode& c, const FindSpec& args) {
    if (args.type && c.type != *args.type) return false;
    if (args.id && c.id != *args.id) return false;
    if (args.tag && c.tag != *args.tag) return false;
    if (args.visible && c.visible != *args.visible) return false;
    return true;
}

std::string kindWord(int32_t type) {
    switch (type) {
        case msoControlButton: return "button";
        case msoControlPopup: return "popup";
        case msoControlComboBox: return "combo";
        case msoControlSplitButtonPopup: return "splitbutton";
        default: return "control";
    }
}

std::string boolWord(bool b) { return b ? "True" : "False"; }

}  // namespace

// ---------------------------------------------------------------- the collection

BarNodePtr World::findBar(const std::string& name) const {
    for (const auto& b : bars) {
        if (sameName(b->name, name)) return b;
    }
    return nullptr;
}

int32_t World::barIndex(const BarNodePtr& bar) const {
    const auto it = std::find(bars.begin(), bars.end(), bar);
    return it == bars.end() ? 0 : static_cast<int32_t>(it - bars.begin()) + 1;
}

bool World::barVisible(const BarNode& bar) const { return bar.enabled && bar.visible; }

std::string World::barName(const BarNode& bar) const {
    // A menu's bar is named after its menu's caption, without the access-key marks.
    if (auto owner = bar.owner.lock()) return text::replaceAll(owner->caption, "&", "");
    return bar.name;
}

BarNodePtr World::addBar(const std::string& name, int32_t type, int32_t position, bool temporary, bool builtin) {
    auto bar = std::make_shared<BarNode>();
    bar->name = name;
    bar->type = position == msoBarPopup ? msoBarTypePopup : type;
    bar->position = bar->type == msoBarTypePopup ? msoBarPopup : position;
    bar->temporary = temporary;
    bar->builtin = builtin;
    const ClientArea area = clientArea(mainWindow);
    bar->left = area.left + 100;
    bar->top = area.top + 100;
    if (docked(bar->position)) {
        int32_t last = 0;
        for (const auto& b : bars) {
            if (b->position == bar->position) last = std::max(last, b->rowIndex);
        }
        bar->rowIndex = last + 1;
    }
    bars.push_back(bar);
    return bar;
}

void World::deleteBar(const BarNodePtr& bar) {
    std::erase(bars, bar);
    markDeleted(bar);
}

// ---------------------------------------------------------------- docking and geometry

void World::setBarPosition(const BarNodePtr& bar, int32_t position) {
    if (position < msoBarLeft || position > msoBarPopup) throwInvalidCall();
    if ((position == msoBarPopup) != (bar->type == msoBarTypePopup)) throwInvalidCall();
    if (position == bar->position) return;
    bar->position = position;
    // Docking puts the bar into a new last row of that dock.
    if (docked(position)) setBarRow(bar, msoBarRowLast);
}

void World::setBarRow(const BarNodePtr& bar, int32_t row) {
    if (row < msoBarRowLast) throwInvalidCall();
    if (!docked(bar->position)) {
        bar->rowIndex = std::max(row, 0);
        return;
    }
    int32_t last = 0;
    for (const auto& b : bars) {
        if (b != bar && b->position == bar->position) last = std::max(last, b->rowIndex);
    }
    if (row == msoBarRowFirst) {
        // A new first row: every other bar of the dock moves down one row.
        for (const auto& b : bars) {
            if (b != bar && b->position == bar->position && b->rowIndex >= 1) ++b->rowIndex;
        }
        bar->rowIndex = 1;
    } else if (row == msoBarRowLast || row > last) {
        bar->rowIndex = last + 1;
    } else {
        bar->rowIndex = row;
    }
}

int32_t World::shownStyle(const ControlNode& c) const {
    if (c.style != msoButtonAutomatic) return c.style;
    const auto parent = c.parent.lock();
    const int32_t barType = parent ? parent->type : msoBarTypeNormal;
    if (barType == msoBarTypeNormal) return c.hasFace() ? msoButtonIcon : msoButtonCaption;
    if (barType == msoBarTypeMenuBar) return msoButtonCaption;
    return c.hasFace() ? msoButtonIconAndCaption : msoButtonCaption;
}

int32_t World::controlWidth(const ControlNode& c) const {
    if (c.width) return *c.width;
    switch (c.type) {
        case msoControlButton: {
            const int32_t style = shownStyle(c);
            if (style == msoButtonIcon) return kIconWidth;
            if (style == msoButtonIconAndCaption) return kIconWidth + captionWidth(c.caption);
            return captionWidth(c.caption);
        }
        case msoControlPopup: return captionWidth(c.caption);
        case msoControlEdit:
        case msoControlDropdown:
        case msoControlComboBox: return c.defaultWidth > 0 ? c.defaultWidth : kDefaultComboWidth;
        case msoControlSplitButtonPopup: return kSplitButtonWidth;
        default: return kIconWidth;
    }
}

int32_t World::barWidth(const BarNodePtr& bar) const {
    int32_t sum = 0;
    int32_t widest = 0;
    for (const auto& c : bar->controls) {
        if (!c->visible) continue;
        const int32_t w = controlWidth(*c);
        sum += w;
        widest = std::max(widest, w);
    }
    if (bar->isSubBar() || bar->position == msoBarPopup) return widest + kFloatingBorder;
    if (bar->position == msoBarFloating) {
        // A floating bar wraps its controls into rows: it can be narrowed down to its
        // widest control and is never wider than one row of all of them.
        const int32_t natural = sum + kFloatingBorder;
        if (!bar->widthRequest) return natural;
        return std::clamp(*bar->widthRequest, widest + kFloatingBorder, natural);
    }
    if (bar->type == msoBarTypeMenuBar && horizontalDock(bar->position)) {
        const ClientArea area = clientArea(mainWindow);
        return area.right - area.left;
    }
    return sum + kDockedBorder;
}

int32_t World::barLeft(const BarNodePtr& bar) const {
    const ClientArea area = clientArea(mainWindow);
    switch (bar->position) {
        case msoBarTop:
        case msoBarBottom: {
            // Bars of one row stand side by side in collection order.
            int32_t left = area.left;
            for (const auto& b : bars) {
                if (b == bar) break;
                if (b->position == bar->position && b->rowIndex == bar->rowIndex && barVisible(*b)) {
                    left += barWidth(b);
                }
            }
            return left;
        }
        case msoBarLeft: return area.left + (bar->rowIndex - 1) * kRowHeight;
        case msoBarRight: return area.right - bar->rowIndex * kRowHeight;
        default: return bar->left;
    }
}

int32_t World::barTop(const BarNodePtr& bar) const {
    const ClientArea area = clientArea(mainWindow);
    switch (bar->position) {
        case msoBarTop: return area.top + (bar->rowIndex - 1) * kRowHeight;
        case msoBarBottom: return area.bottom - bar->rowIndex * kRowHeight;
        case msoBarLeft:
        case msoBarRight: {
            int32_t topRows = 0;
            for (const auto& b : bars) {
                if (b->position == msoBarTop) topRows = std::max(topRows, b->rowIndex);
            }
            return area.top + topRows * kRowHeight;
        }
        default: return bar->top;
    }
}

// ---------------------------------------------------------------- controls

ControlNodePtr World::newBuiltinControl(int32_t id, bool temporary) const {
    const BuiltinControl* entry = findBuiltinControl(id);
    if (!entry) return nullptr;
    auto c = std::make_shared<ControlNode>();
    c->id = id;
    c->type = entry->type;
    c->caption = std::string(entry->caption);
    c->builtin = true;
    c->temporary = temporary;
    c->defaultWidth = entry->width;
    if (c->type == msoControlButton) c->faceId = id;
    if (c->type == msoControlPopup || c->type == msoControlSplitButtonPopup) {
        c->subBar = std::make_shared<BarNode>();
        c->subBar->type = msoBarTypePopup;
        c->subBar->position = msoBarPopup;
        c->subBar->builtin = true;
        c->subBar->owner = c;
        for (const int32_t item : entry->items) {
            auto child = newBuiltinControl(item < 0 ? -item : item, temporary);
            if (!child) continue;
            child->beginGroup = item < 0;
            child->parent = c->subBar;
            c->subBar->controls.push_back(child);
        }
    }
    return c;
}

ControlNodePtr World::newCustomControl(int32_t type, bool temporary) const {
    if (type != msoControlButton && type != msoControlEdit && type != msoControlDropdown &&
        type != msoControlComboBox && type != msoControlPopup) {
        return nullptr;
    }
    auto c = std::make_shared<ControlNode>();
    c->id = 1;
    c->type = type;
    c->temporary = temporary;
    if (type == msoControlPopup) {
        c->subBar = std::make_shared<BarNode>();
        c->subBar->type = msoBarTypePopup;
        c->subBar->position = msoBarPopup;
        c->subBar->owner = c;
    }
    return c;
}

void World::appendControl(const BarNodePtr& bar, const ControlNodePtr& ctrl) {
    ctrl->parent = bar;
    bar->controls.push_back(ctrl);
}

namespace {

ControlNodePtr cloneControl(const ControlNode& src) {
    auto c = std::make_shared<ControlNode>();
    c->id = src.id;
    c->type = src.type;
    c->builtin = src.builtin;
    c->defaultWidth = src.defaultWidth;
    c->caption = src.caption;
    c->faceId = src.faceId;
    c->pastedFace = src.pastedFace;
    c->style = src.style;
    c->state = src.state;
    c->onAction = src.onAction;
    c->tag = src.tag;
    c->beginGroup = src.beginGroup;
    if (src.subBar) {
        c->subBar = std::make_shared<BarNode>();
        c->subBar->type = msoBarTypePopup;
        c->subBar->position = msoBarPopup;
        c->subBar->builtin = src.subBar->builtin;
        c->subBar->owner = c;
        for (const auto& child : src.subBar->controls) {
            auto copy = cloneControl(*child);
            copy->parent = c->subBar;
            c->subBar->controls.push_back(copy);
        }
    }
    return c;
}

}  // namespace

ControlNodePtr World::copyControl(const ControlNodePtr& source, const BarNodePtr& target) {
    auto copy = cloneControl(*source);
    appendControl(target, copy);
    return copy;
}

void World::deleteControl(const ControlNodePtr& ctrl) {
    if (auto bar = ctrl->parent.lock()) std::erase(bar->controls, ctrl);
    markDeleted(ctrl);
}

ControlNodePtr World::findControlIn(const BarNodePtr& bar, const FindSpec& args, bool recursive) const {
    for (const auto& c : bar->controls) {
        if (matches(*c, args)) return c;
        if (recursive && c->subBar) {
            if (auto found = findControlIn(c->subBar, args, true)) return found;
        }
    }
    return nullptr;
}

ControlNodePtr World::findControlAnywhere(const FindSpec& args) const {
    for (const auto& b : bars) {
        if (auto found = findControlIn(b, args, true)) return found;
    }
    return nullptr;
}

bool World::controlEnabled(const ControlNode& c) const {
    if (!c.enabled) return false;
    if (!c.builtin) return true;
    if (c.id == ctl::kNew) return !cellEditMode;
    if (c.id == ctl::kBold) {
        // Bold applies to cells and to drawing objects that hold text.
        const auto sheet = activeSheet();
        if (!sheet || sheet->chart || sheet->nothingSelected) return false;
        const auto shapes = selectedShapes(sheet);
        return std::all_of(shapes.begin(), shapes.end(), [](const auto& s) { return hasTextFrame(*s); });
    }
    return true;
}

int32_t World::controlState(const ControlNode& c) const {
    if (c.builtin) {
        if (const auto on = toggle(c.id)) return *on ? msoButtonDown : msoButtonUp;
    }
    return c.state;
}

bool World::controlReachable(const ControlNodePtr& ctrl) const {
    if (ctrl->deleted || !ctrl->visible || !controlEnabled(*ctrl)) return false;
    const auto bar = ctrl->parent.lock();
    if (!bar || bar->deleted) return false;
    if (auto owner = bar->owner.lock()) return controlReachable(owner);
    // Context menus are shown on demand; toolbars and menu bars must be on screen.
    if (bar->type == msoBarTypePopup) return bar->enabled;
    return barVisible(*bar);
}

SimAddIn* World::connectedAddIn(const std::string& onAction) const {
    if (onAction.size() < 3 || !text::startsWith(onAction, "!<") || onAction.back() != '>') return nullptr;
    const std::string progId = onAction.substr(2, onAction.size() - 3);
    for (const auto& a : addIns) {
        if (sameName(a->id(), progId) && a->connected()) return a.get();
    }
    return nullptr;
}

bool World::raiseClick(const ControlNodePtr& ctrl) {
    // A handler may delete the very bar that holds the button: work on a copy.
    const auto subscribers = ctrl->clickSubscribers;
    bool cancelDefault = false;
    for (const auto& s : subscribers) {
        if (!s->active) continue;
        const auto handler = s->handler;
        callHandler("Click", [&] { handler(makeControl(shared_from_this(), ctrl), cancelDefault); });
    }
    std::erase_if(ctrl->clickSubscribers, [](const auto& s) { return !s->active; });
    return cancelDefault;
}

void World::executeControl(const ControlNodePtr& ctrl) {
    const std::string& action = ctrl->onAction;
    if (text::startsWith(action, "!<")) {
        // Routed to the add-in named in the action, which raises the button's Click.
        if (connectedAddIn(action)) raiseClick(ctrl);
        return;
    }
    if (!action.empty()) {
        executionLog.push_back("macro " + action);
        return;
    }
    if (!ctrl->builtin) return;
    if (raiseClick(ctrl)) return;
    if (bool* flag = toggleFlag(ctrl->id)) {
        *flag = !*flag;
        return;
    }
    if (ctrl->type == msoControlPopup || ctrl->type == msoControlSplitButtonPopup) return;
    executionLog.push_back("control " + std::to_string(ctrl->id));
}

bool World::click(const ControlNodePtr& ctrl) {
    if (!ctrl || !controlReachable(ctrl)) return false;
    executeControl(ctrl);
    return true;
}

// ---------------------------------------------------------------- lookup for the test side

ControlNodePtr World::findByPath(const std::string& path) const {
    // Steps are separated by " > "; captions may hold ">" themselves ("< Add text >").
    std::vector<std::string> steps;
    size_t start = 0;
    while (true) {
        const size_t sep = path.find(" > ", start);
        steps.push_back(text::trim(path.substr(start, sep == std::string::npos ? std::string::npos : sep - start)));
        if (sep == std::string::npos) break;
        start = sep + 3;
    }
    if (steps.size() < 2) return nullptr;
    BarNodePtr bar;
    for (const auto& b : bars) {
        if (b->name == steps[0]) {
            bar = b;
            break;
        }
    }
    ControlNodePtr found;
    for (size_t i = 1; i < steps.size(); ++i) {
        if (!bar) return nullptr;
        found = nullptr;
        for (const auto& c : bar->controls) {
            if (c->caption == steps[i]) {
                found = c;
                break;
            }
        }
        if (!found) return nullptr;
        bar = found->subBar;
    }
    return found;
}

ControlNodePtr World::findByTag(const std::string& tag) const {
    FindSpec args;
    args.tag = tag;
    return findControlAnywhere(args);
}

// ---------------------------------------------------------------- dump

std::string World::dumpBars(const DumpOptions& options) const {
    std::vector<BarNodePtr> selected;
    if (options.bar) {
        auto bar = findBar(*options.bar);
        if (!bar) throw std::invalid_argument("no command bar named \"" + *options.bar + "\"");
        selected.push_back(bar);
    } else {
        selected = bars;
    }
    std::string out;
    std::function<void(const BarNodePtr&, int)> dumpControls = [&](const BarNodePtr& bar, int depth) {
        for (const auto& c : bar->controls) {
            std::string line(static_cast<size_t>(depth) * 2, ' ');
            line += kindWord(c->type) + " \"" + c->caption + "\" id=" + std::to_string(c->id) +
                    " type=" + std::to_string(c->type);
            if (!c->tag.empty()) line += " tag=\"" + c->tag + "\"";
            if (c->isButton()) {
                if (c->pastedFace) {
                    line += " face=pasted(" + std::to_string(c->pastedFace->width) + "x" +
                            std::to_string(c->pastedFace->height) + ")";
                } else {
                    line += " face=" + std::to_string(c->faceId);
                }
                line += " style=" + std::to_string(c->style);
                line += " state=" + std::to_string(controlState(*c));
            }
            if (c->beginGroup) line += " group";
            if (!controlEnabled(*c)) line += " disabled";
            if (!c->visible) line += " hidden";
            if (c->width) line += " width=" + std::to_string(*c->width);
            if (!c->onAction.empty()) line += " onaction=\"" + c->onAction + "\"";
            if (c->temporary) line += " temporary";
            out += line + "\n";
            if (c->subBar) dumpControls(c->subBar, depth + 1);
        }
    };
    for (const auto& b : selected) {
        if (options.visibleOnly && !barVisible(*b)) continue;
        out += "bar \"" + b->name + "\" index=" + std::to_string(barIndex(b)) + " type=" + std::to_string(b->type) +
               " position=" + std::to_string(b->position) + " row=" + std::to_string(b->rowIndex) +
               " left=" + std::to_string(barLeft(b)) + " top=" + std::to_string(barTop(b)) +
               " width=" + std::to_string(barWidth(b)) + " visible=" + boolWord(barVisible(*b)) +
               " enabled=" + boolWord(b->enabled) + " protection=" + std::to_string(b->protection);
        if (b->temporary) out += " temporary";
        if (b->builtin) out += " builtin";
        out += "\n";
        if (options.controls) dumpControls(b, 1);
    }
    return out;
}

}  // namespace qm::sim::detail
