// Internal state and behaviour of the simulated host, owned by SimHost and referred to
// weakly by the add-in's handles, so that a handle outliving the host fails cleanly.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/host/error.h"
#include "core/host/host.h"
#include "core/platform/platform.h"
#include "sim/clipboard.h"
#include "sim/model.h"
#include "sim/picture_hook.h"

namespace qm::sim {

class SimAddIn;

namespace detail {

// AutoShape types the host reports for objects that are not one AutoShape.
inline constexpr int32_t kShapeMixed = -2;          // msoShapeMixed
inline constexpr int32_t kShapeNotPrimitive = 138;  // msoShapeNotPrimitive

// The main window's rectangle when the host starts, and as the bars lay out when it cannot be found.
inline constexpr platform::Rect kDefaultMainWindow{0, 0, 1024, 768};

// Error descriptions the host words the same way everywhere.
std::string methodFailedText(const std::string& object, const std::string& member);
[[noreturn]] void throwMethodFailed(const std::string& object, const std::string& member);
[[noreturn]] void throwNotSupported();
[[noreturn]] void throwInvalidCall();
[[noreturn]] void throwUnableToSet(const std::string& property, const std::string& cls);
[[noreturn]] void throwOutOfRange();  // a drawing-layer value or index out of range

// Case-insensitive comparison of ASCII letters, as the host compares names.
bool sameName(const std::string& a, const std::string& b);
// Characters (UTF-8 code points) of a text.
size_t characterCount(const std::string& s);

// One armed failure: the n-th call from now, or the k-th call of one member.
struct Failure {
    std::optional<int64_t> atCall;
    std::string member;
    int64_t memberCallsLeft = 0;
    int32_t number = host::err::kUnspecified;
    std::optional<std::string> description;
    bool outlivesClear = false;  // a fault sweep's point: not the script's to clear
};

template <class Handler>
struct Subscriber {
    bool active = true;
    Handler handler;
};

class World : public std::enable_shared_from_this<World> {
public:
    World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // ------------------------------------------------------------ accounting
    // Counts one member call ("Object.Member", "Object.Member=" for writes), tells the
    // observer and throws when an armed failure hits it.
    void enter(const std::string& call);
    void handleCreated(const std::string& kind);
    void handleDestroyed(const std::string& kind);

    bool accounting = true;  // off while the test side reads the host through handles
    int64_t totalCalls = 0;
    int64_t totalWrites = 0;
    std::map<std::string, int64_t> callCounts;
    std::function<void(const std::string&)> observer;
    std::vector<Failure> failures;
    int64_t liveHandleTotal = 0;
    std::map<std::string, int64_t> liveHandleCounts;
    int64_t liveSubscriptionCount = 0;

    // ------------------------------------------------------------ events
    template <class T>
    host::Subscription makeSubscription(const std::shared_ptr<T>& subscriber);
    void fireUpdate();
    // After a write to a control property: raises OnUpdate again when asked to.
    void afterControlWrite();
    void fireSheetChange(const SheetNodePtr& sheet, const CellArea& area);
    void resetEvents();

    // Runs one of the add-in's event handlers; an exception coming out of it is noted
    // before it goes on: a real host gets none through its event sinks.
    template <class F>
    void callHandler(const char* event, F&& handler);
    std::vector<std::string> handlerEscapes;

    std::vector<std::shared_ptr<Subscriber<host::UpdateHandler>>> updateSubscribers;
    std::vector<std::shared_ptr<Subscriber<host::SheetChangeHandler>>> sheetChangeSubscribers;
    // Every Click subscription, also of controls deleted since, so that a restart ends them all.
    std::vector<std::weak_ptr<ClickSubscriber>> clickSubscribers;
    bool reentrantUpdates = false;
    int32_t updateDepth = 0;
    int32_t maxUpdateDepth = 0;
    bool updateOverflow = false;
    static constexpr int32_t kUpdateDepthLimit = 16;

    // ------------------------------------------------------------ application
    std::string version = "11.0";
    bool screenUpdating = true;
    bool displayFormulaBar = true;
    bool displayFullScreen = false;
    double applicationTop = 1.75;
    std::deque<std::optional<std::string>> saveAsAnswers;
    std::vector<SaveAsRequest> saveAsRequests;
    std::optional<platform::Rect> mainWindow = kDefaultMainWindow;
    bool cellEditMode = false;
    bool selectObjects = false;
    bool snapToGrid = false;
    bool snapToShape = false;
    std::vector<std::string> executionLog;
    std::vector<std::shared_ptr<SimAddIn>> addIns;
    // The host's own clipboard, unless a test shares the system's with a real add-in.
    SimClipboard ownClipboard;
    platform::Clipboard* clipboard = &ownClipboard;
    PictureRenderer renderer;

    std::string caption() const;
    // The flag behind a built-in toggle control (182, 549, 1402), null for other numbers.
    bool* toggleFlag(int32_t id);
    std::optional<bool> toggle(int32_t id) const;

    // ------------------------------------------------------------ workbooks and sheets
    std::vector<WorkbookNodePtr> books;
    WorkbookNodePtr activeBook;

    SheetNodePtr activeSheet() const;
    WorkbookNodePtr bookOf(const SheetNodePtr& sheet) const;
    int32_t nextSheetNumber(const WorkbookNodePtr& book) const;
    SheetNodePtr addSheet(const WorkbookNodePtr& book, const std::string& name, bool chart,
                          std::optional<size_t> insertAt);
    void activateSheet(const SheetNodePtr& sheet);
    // Throws 1004 when the name is taken in the workbook or not a valid sheet name.
    void renameSheet(const SheetNodePtr& sheet, const std::string& name);
    void setBackgroundPicture(const SheetNodePtr& sheet, const std::string& fileName);

    // ------------------------------------------------------------ drawing objects
    DrawingObjectPtr addShape(const SheetNodePtr& sheet, const ShapeInit& init);
    DrawingObjectPtr findShape(const SheetNodePtr& sheet, const std::string& name) const;
    int32_t zOrderPosition(const DrawingObjectPtr& obj) const;
    void zOrder(const DrawingObjectPtr& obj, int32_t command);
    void deleteShape(const DrawingObjectPtr& obj);
    void moveShape(DrawingObject& obj, float dx, float dy);
    void resizeShape(DrawingObject& obj, std::optional<float> width, std::optional<float> height);
    void setNodePosition(DrawingObject& obj, size_t index, float x, float y);
    void fitToNodes(DrawingObject& obj);
    void fitToMembers(DrawingObject& obj);
    static bool hasTextFrame(const DrawingObject& obj);
    static int32_t shapeType(const DrawingObject& obj);
    static int32_t autoShapeTypeOf(const DrawingObject& obj);
    static std::string selectionTypeName(const DrawingObject& obj);

    // ------------------------------------------------------------ selection
    std::vector<DrawingObjectPtr> selectedShapes(const SheetNodePtr& sheet) const;
    void selectShapes(const SheetNodePtr& sheet, const std::vector<DrawingObjectPtr>& objs, bool replace);
    void selectRange(const SheetNodePtr& sheet, const CellArea& area);
    void selectNothing(const SheetNodePtr& sheet);
    // Puts pictures of the objects, or the cells' text, on the clipboard.
    void copyToClipboard(const SheetNodePtr& sheet, const std::vector<DrawingObjectPtr>& objs,
                         std::optional<CellArea> cells, bool selectionCopy, int32_t appearance, int32_t format);

    // ------------------------------------------------------------ command bars
    std::vector<BarNodePtr> bars;  // the CommandBars collection, in order

    BarNodePtr findBar(const std::string& name) const;
    int32_t barIndex(const BarNodePtr& bar) const;
    bool barVisible(const BarNode& bar) const;  // Visible as read: a disabled bar is hidden
    BarNodePtr addBar(const std::string& name, int32_t type, int32_t position, bool temporary, bool builtin);
    void deleteBar(const BarNodePtr& bar);
    void setBarPosition(const BarNodePtr& bar, int32_t position);
    void setBarRow(const BarNodePtr& bar, int32_t row);
    int32_t barLeft(const BarNodePtr& bar) const;
    int32_t barTop(const BarNodePtr& bar) const;
    int32_t barWidth(const BarNodePtr& bar) const;
    int32_t controlWidth(const ControlNode& ctrl) const;
    // A button's style as shown: Automatic resolves by the kind of bar and whether it has a face.
    int32_t shownStyle(const ControlNode& ctrl) const;
    std::string barName(const BarNode& bar) const;

    ControlNodePtr newBuiltinControl(int32_t id, bool temporary) const;
    ControlNodePtr newCustomControl(int32_t type, bool temporary) const;
    void appendControl(const BarNodePtr& bar, const ControlNodePtr& ctrl);
    ControlNodePtr copyControl(const ControlNodePtr& source, const BarNodePtr& target);
    void deleteControl(const ControlNodePtr& ctrl);
    ControlNodePtr findControlIn(const BarNodePtr& bar, const host::FindSpec& args, bool recursive) const;
    ControlNodePtr findControlAnywhere(const host::FindSpec& args) const;
    bool controlEnabled(const ControlNode& ctrl) const;  // as read, including context
    int32_t controlState(const ControlNode& ctrl) const;
    // Whether a user could reach the control: it, its bar and every menu above it shown.
    bool controlReachable(const ControlNodePtr& ctrl) const;
    void executeControl(const ControlNodePtr& ctrl);
    bool click(const ControlNodePtr& ctrl);
    // Raises Click on the control's subscribers; returns CancelDefault.
    bool raiseClick(const ControlNodePtr& ctrl);
    SimAddIn* connectedAddIn(const std::string& onAction) const;

    ControlNodePtr findByPath(const std::string& path) const;
    ControlNodePtr findByTag(const std::string& tag) const;
    std::string dumpBars(const DumpOptions& options) const;

    void addBuiltinBars();
    // Closing and reopening the host: temporary bars and controls go, events reset.
    void restart();
};

template <class T>
host::Subscription World::makeSubscription(const std::shared_ptr<T>& subscriber) {
    ++liveSubscriptionCount;
    std::weak_ptr<World> world = weak_from_this();
    std::weak_ptr<T> weakSub = subscriber;
    return host::Subscription([world, weakSub] {
        auto sub = weakSub.lock();
        if (!sub || !sub->active) return;
        sub->active = false;
        sub->handler = nullptr;
        if (auto w = world.lock()) --w->liveSubscriptionCount;
    });
}

template <class F>
void World::callHandler(const char* event, F&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        handlerEscapes.push_back(std::string(event) + ": " + e.what());
        throw;
    }
}

// Parses "A1", "$B$2", "A1:C3" (case-insensitive); nothing when it is not an address.
std::optional<CellArea> parseAddress(const std::string& address);
std::string addressText(const CellArea& area);
// A column's letters: 1 is "A", 27 "AA".
std::string columnLetters(int32_t column);
int64_t cellCount(const CellArea& area);

}  // namespace detail
}  // namespace qm::sim
