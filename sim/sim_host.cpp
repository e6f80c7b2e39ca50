// The test side of the simulated host: builds the model directly, reads what the add-in
// did, and arms failures.
#include "sim/sim_host.h"

#include <stdexcept>

#include "sim/handles.h"
#include "sim/render.h"
#include "sim/world.h"

namespace qm::sim {

using detail::World;

SimHost::SimHost() : world_(std::make_shared<World>()), windowFinder_(world_) { world_->renderer = renderPictures; }

SimHost::SimHost(platform::Clipboard& clipboard) : SimHost() { world_->clipboard = &clipboard; }

SimHost::~SimHost() {
    // Handlers may hold handles; handles only refer weakly to the host, so dropping the
    // subscriptions is enough to free everything.
    world_->resetEvents();
}

host::ApplicationPtr SimHost::application() { return detail::makeApplication(world_); }

// ---------------------------------------------------------------- call accounting

int64_t SimHost::calls() const { return world_->totalCalls; }

int64_t SimHost::calls(const std::string& member) const {
    const auto it = world_->callCounts.find(member);
    return it == world_->callCounts.end() ? 0 : it->second;
}

int64_t SimHost::writes() const { return world_->totalWrites; }

void SimHost::resetCounts() {
    // Armed failures keep their distance from now.
    for (auto& f : world_->failures) {
        if (f.atCall) *f.atCall -= world_->totalCalls;
    }
    world_->totalCalls = 0;
    world_->totalWrites = 0;
    world_->callCounts.clear();
}

void SimHost::setCallObserver(std::function<void(const std::string&)> observer) {
    world_->observer = std::move(observer);
}

void SimHost::failCall(int64_t n, int32_t number, std::optional<std::string> description) {
    if (n < 1) throw std::invalid_argument("failCall counts from 1");
    detail::Failure f;
    f.atCall = world_->totalCalls + n;
    f.number = number;
    f.description = std::move(description);
    world_->failures.push_back(std::move(f));
}

void SimHost::failMember(const std::string& member, int64_t occurrence, int32_t number,
                         std::optional<std::string> description) {
    if (occurrence < 1) throw std::invalid_argument("failMember counts from 1");
    detail::Failure f;
    f.member = member;
    f.memberCallsLeft = occurrence;
    f.number = number;
    f.description = std::move(description);
    world_->failures.push_back(std::move(f));
}

void SimHost::clearFailures() {
    std::erase_if(world_->failures, [](const detail::Failure& f) { return !f.outlivesClear; });
}

void SimHost::armFaultPoint(int64_t n) {
    failCall(n);
    world_->failures.back().outlivesClear = true;
}

SimHost::Unaccounted::Unaccounted(SimHost& host) : world_(host.world_), was_(world_->accounting) {
    world_->accounting = false;
}

SimHost::Unaccounted::~Unaccounted() { world_->accounting = was_; }

int64_t SimHost::liveHandles() const { return world_->liveHandleTotal; }

int64_t SimHost::liveHandles(const std::string& kind) const {
    const auto it = world_->liveHandleCounts.find(kind);
    return it == world_->liveHandleCounts.end() ? 0 : it->second;
}

int64_t SimHost::liveSubscriptions() const { return world_->liveSubscriptionCount; }

const std::vector<std::string>& SimHost::handlerEscapes() const { return world_->handlerEscapes; }

// ---------------------------------------------------------------- application

void SimHost::setVersion(const std::string& version) { world_->version = version; }
void SimHost::setApplicationTop(double points) { world_->applicationTop = points; }
bool SimHost::screenUpdating() const { return world_->screenUpdating; }
bool SimHost::displayFormulaBar() const { return world_->displayFormulaBar; }
void SimHost::setDisplayFormulaBar(bool value) { world_->displayFormulaBar = value; }
bool SimHost::displayFullScreen() const { return world_->displayFullScreen; }
void SimHost::setDisplayFullScreen(bool value) { world_->displayFullScreen = value; }
std::string SimHost::caption() const { return world_->caption(); }

void SimHost::queueSaveAsAnswer(std::optional<std::string> path) { world_->saveAsAnswers.push_back(std::move(path)); }

const std::vector<SaveAsRequest>& SimHost::saveAsRequests() const { return world_->saveAsRequests; }

void SimHost::setMainWindowRect(std::optional<platform::Rect> rect) { world_->mainWindow = rect; }

SimWindowFinder& SimHost::windowFinder() { return windowFinder_; }

platform::Clipboard& SimHost::clipboard() { return *world_->clipboard; }

// ---------------------------------------------------------------- workbooks, sheets, cells

WorkbookNodePtr SimHost::addWorkbook(const std::string& name) {
    auto book = std::make_shared<WorkbookNode>();
    book->name = name;
    world_->books.push_back(book);
    world_->activeBook = book;
    return book;
}

void SimHost::activateWorkbook(const WorkbookNodePtr& book) { world_->activeBook = book; }

SheetNodePtr SimHost::addWorksheet(const WorkbookNodePtr& book, const std::string& name) {
    return world_->addSheet(book, name, false, std::nullopt);
}

SheetNodePtr SimHost::addChartSheet(const WorkbookNodePtr& book, const std::string& name) {
    return world_->addSheet(book, name, true, std::nullopt);
}

void SimHost::activateSheet(const SheetNodePtr& sheet) { world_->activateSheet(sheet); }

WorkbookNodePtr SimHost::activeWorkbook() const { return world_->activeBook; }

SheetNodePtr SimHost::activeSheet() const { return world_->activeSheet(); }

void SimHost::setCellEditMode(bool editing) { world_->cellEditMode = editing; }

bool SimHost::cellEditMode() const { return world_->cellEditMode; }

namespace {

SheetNodePtr requireActiveSheet(const World& w) {
    auto sheet = w.activeSheet();
    if (!sheet) throw std::logic_error("no active sheet");
    return sheet;
}

}  // namespace

void SimHost::selectRange(const std::string& address) {
    auto area = detail::parseAddress(address);
    if (!area) throw std::invalid_argument("not a cell address: " + address);
    world_->selectRange(requireActiveSheet(*world_), *area);
}

void SimHost::selectShapes(const std::vector<std::string>& names) {
    auto sheet = requireActiveSheet(*world_);
    std::vector<DrawingObjectPtr> objs;
    for (const auto& n : names) {
        auto obj = world_->findShape(sheet, n);
        if (!obj) throw std::invalid_argument("no drawing object named \"" + n + "\"");
        objs.push_back(obj);
    }
    world_->selectShapes(sheet, objs, true);
}

void SimHost::deleteShape(const std::string& name) {
    auto obj = world_->findShape(requireActiveSheet(*world_), name);
    if (!obj) throw std::invalid_argument("no drawing object named \"" + name + "\"");
    world_->deleteShape(obj);
}

void SimHost::selectNothing() { world_->selectNothing(requireActiveSheet(*world_)); }

void SimHost::editCell(const SheetNodePtr& sheet, const std::string& address, const std::string& text) {
    auto area = detail::parseAddress(address);
    if (!area) throw std::invalid_argument("not a cell address: " + address);
    for (int32_t r = area->first.row; r <= area->last.row; ++r) {
        for (int32_t c = area->first.column; c <= area->last.column; ++c) sheet->cellText[CellRef{r, c}] = text;
    }
    world_->cellEditMode = false;
    world_->fireSheetChange(sheet, *area);
}

// ---------------------------------------------------------------- drawing objects

DrawingObjectPtr SimHost::addShape(const SheetNodePtr& sheet, const ShapeInit& init) {
    return world_->addShape(sheet, init);
}

DrawingObjectPtr SimHost::drawShape(const ShapeInit& init) {
    auto sheet = requireActiveSheet(*world_);
    auto obj = world_->addShape(sheet, init);
    world_->selectObjects = false;
    world_->selectShapes(sheet, {obj}, true);
    return obj;
}

DrawingObjectPtr SimHost::findShape(const SheetNodePtr& sheet, const std::string& name) const {
    return world_->findShape(sheet, name);
}

std::vector<DrawingObjectPtr> SimHost::selectedShapes() const {
    auto sheet = world_->activeSheet();
    return sheet ? world_->selectedShapes(sheet) : std::vector<DrawingObjectPtr>{};
}

void SimHost::setPictureRenderer(PictureRenderer renderer) { world_->renderer = std::move(renderer); }

// ---------------------------------------------------------------- command bars

const std::vector<BarNodePtr>& SimHost::bars() const { return world_->bars; }

BarNodePtr SimHost::findBar(const std::string& name) const { return world_->findBar(name); }

BarNodePtr SimHost::addBar(const BarInit& init) {
    if (world_->findBar(init.name)) throw std::invalid_argument("a bar named \"" + init.name + "\" exists");
    auto bar = world_->addBar(init.name, init.type, init.position, init.temporary, init.builtin);
    bar->visible = init.visible;
    bar->enabled = init.enabled;
    if (init.row > 0) world_->setBarRow(bar, init.row);
    return bar;
}

void SimHost::removeBar(const std::string& name) {
    auto bar = world_->findBar(name);
    if (!bar) throw std::invalid_argument("no bar named \"" + name + "\"");
    world_->deleteBar(bar);
}

void SimHost::renameBar(const std::string& name, const std::string& newName) {
    auto bar = world_->findBar(name);
    if (!bar) throw std::invalid_argument("no bar named \"" + name + "\"");
    bar->name = newName;
}

ControlNodePtr SimHost::findByPath(const std::string& path) const { return world_->findByPath(path); }

ControlNodePtr SimHost::findByTag(const std::string& tag) const { return world_->findByTag(tag); }

host::CommandBarControlPtr SimHost::controlHandle(const ControlNodePtr& ctrl) {
    return ctrl ? detail::makeControl(world_, ctrl) : nullptr;
}

host::CommandBarPtr SimHost::barHandle(const BarNodePtr& bar) { return bar ? detail::makeBar(world_, bar) : nullptr; }

ControlNodePtr SimHost::nodeOf(const host::CommandBarControlPtr& ctrl) const { return detail::controlNodeOf(ctrl); }

bool SimHost::click(const ControlNodePtr& ctrl) { return world_->click(ctrl); }

bool SimHost::click(const std::string& path) {
    auto ctrl = world_->findByPath(path);
    if (!ctrl) throw std::invalid_argument("no control at \"" + path + "\"");
    return world_->click(ctrl);
}

bool SimHost::controlEnabled(const ControlNodePtr& ctrl) const { return world_->controlEnabled(*ctrl); }

int32_t SimHost::controlState(const ControlNodePtr& ctrl) const { return world_->controlState(*ctrl); }

bool SimHost::toggle(int32_t id) const {
    const auto on = world_->toggle(id);
    if (!on) throw std::invalid_argument("control " + std::to_string(id) + " is not a toggle");
    return *on;
}

void SimHost::setToggle(int32_t id, bool on) {
    bool* flag = world_->toggleFlag(id);
    if (!flag) throw std::invalid_argument("control " + std::to_string(id) + " is not a toggle");
    *flag = on;
}

const std::vector<std::string>& SimHost::executedControls() const { return world_->executionLog; }

std::string SimHost::dumpBars(const DumpOptions& options) const { return world_->dumpBars(options); }

SimHost::Placement SimHost::barPlacement(const BarNodePtr& bar) const {
    return {world_->barLeft(bar), world_->barTop(bar), world_->barWidth(bar)};
}

bool SimHost::barShown(const BarNodePtr& bar) const { return world_->barVisible(*bar); }

int32_t SimHost::controlWidth(const ControlNodePtr& ctrl) const { return world_->controlWidth(*ctrl); }

int32_t SimHost::shownStyle(const ControlNodePtr& ctrl) const { return world_->shownStyle(*ctrl); }

platform::Rect SimHost::mainWindowRect() const { return world_->mainWindow.value_or(detail::kDefaultMainWindow); }

// ---------------------------------------------------------------- add-ins and events

std::shared_ptr<SimAddIn> SimHost::addAddIn(const std::string& progId) {
    auto addIn = std::make_shared<SimAddIn>(world_, progId);
    world_->addIns.push_back(addIn);
    return addIn;
}

void SimHost::fireUpdate() { world_->fireUpdate(); }

void SimHost::setReentrantUpdates(bool on) { world_->reentrantUpdates = on; }

int32_t SimHost::maxUpdateDepth() const { return world_->maxUpdateDepth; }

bool SimHost::updateOverflow() const { return world_->updateOverflow; }

void SimHost::restartHost() { world_->restart(); }

}  // namespace qm::sim
