// The simulated spreadsheet host: the host's object model and command bars in memory, built
// up by tests and the scenario runner and handed to the add-in as a host::Application.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/host/error.h"
#include "core/host/host.h"
#include "core/platform/platform.h"
#include "sim/addin.h"
#include "sim/clipboard.h"
#include "sim/model.h"
#include "sim/picture_hook.h"
#include "sim/window_finder.h"

namespace qm::sim {

namespace detail {
class World;
}

// Counts every call the add-in makes, can fail any of them, and tracks the handles and
// subscriptions the add-in still holds.
class SimHost {
public:
    SimHost();
    // A host whose clipboard is `clipboard` (the system's, shared with a real add-in DLL)
    // rather than its own; `clipboard` must outlive the host.
    explicit SimHost(platform::Clipboard& clipboard);
    ~SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    // A new handle onto the application, as the host passes it to an add-in.
    host::ApplicationPtr application();

    // ------------------------------------------------------------ call accounting
    int64_t calls() const;
    int64_t calls(const std::string& member) const;  // "CommandBar.Visible", "CommandBar.Visible="
    int64_t writes() const;                          // calls of property writes
    void resetCounts();
    // Told the name of every counted call, before it runs.
    void setCallObserver(std::function<void(const std::string&)> observer);

    // The n-th counted call from now (1 = the next one) fails without changing anything.
    void failCall(int64_t n, int32_t number = host::err::kUnspecified,
                  std::optional<std::string> description = std::nullopt);
    // The occurrence-th call of `member` from now fails.
    void failMember(const std::string& member, int64_t occurrence = 1, int32_t number = host::err::kUnspecified,
                    std::optional<std::string> description = std::nullopt);
    void clearFailures();
    // As failCall, for a fault sweep: the point stays armed through clearFailures, since a
    // scenario clearing its own failures must not disarm the sweep's.
    void armFaultPoint(int64_t n);

    // While one lives, calls through handles are neither counted nor failed: the test side
    // reading the host through handles (a scenario's checks) is no part of what the add-in
    // did.
    class Unaccounted {
    public:
        explicit Unaccounted(SimHost& host);
        ~Unaccounted();
        Unaccounted(const Unaccounted&) = delete;
        Unaccounted& operator=(const Unaccounted&) = delete;

    private:
        std::shared_ptr<detail::World> world_;
        bool was_;
    };

    int64_t liveHandles() const;
    // Kinds are the object names of the call names: Application, Workbook, Sheets, Sheet,
    // Range, Window, Selection, Shapes, Shape, ShapeRange, ShapeNodes, ShapeNode,
    // CommandBars, CommandBar, CommandBarControls, CommandBarControl.
    int64_t liveHandles(const std::string& kind) const;
    int64_t liveSubscriptions() const;
    // Exceptions that came out of the add-in's event handlers (Click, OnUpdate,
    // SheetChange) into the host, oldest first, each as "<event>: <what>".
    const std::vector<std::string>& handlerEscapes() const;

    // ------------------------------------------------------------ application
    void setVersion(const std::string& version);
    void setApplicationTop(double points);
    bool screenUpdating() const;
    bool displayFormulaBar() const;
    void setDisplayFormulaBar(bool value);
    bool displayFullScreen() const;
    void setDisplayFullScreen(bool value);
    std::string caption() const;

    // Answers of the Save As dialog, in order; nothing is a cancel.
    void queueSaveAsAnswer(std::optional<std::string> path);
    const std::vector<SaveAsRequest>& saveAsRequests() const;

    // The main window's screen rectangle; nothing: the window cannot be found.
    void setMainWindowRect(std::optional<platform::Rect> rect);
    SimWindowFinder& windowFinder();
    platform::Clipboard& clipboard();

    // ------------------------------------------------------------ workbooks, sheets, cells
    WorkbookNodePtr addWorkbook(const std::string& name);  // becomes the active workbook
    void activateWorkbook(const WorkbookNodePtr& book);
    SheetNodePtr addWorksheet(const WorkbookNodePtr& book, const std::string& name);  // at the end
    SheetNodePtr addChartSheet(const WorkbookNodePtr& book, const std::string& name);
    void activateSheet(const SheetNodePtr& sheet);
    WorkbookNodePtr activeWorkbook() const;
    SheetNodePtr activeSheet() const;

    // While a cell is being edited the host disables New (18) everywhere.
    void setCellEditMode(bool editing);
    bool cellEditMode() const;

    // Selection of the active sheet, as the user makes it; each raises OnUpdate.
    void selectRange(const std::string& address);  // "A1", "A1:C3"
    void selectShapes(const std::vector<std::string>& names);
    void selectNothing();
    // The user types into a cell: the text is stored and SheetChange is raised.
    void editCell(const SheetNodePtr& sheet, const std::string& address, const std::string& text);

    // ------------------------------------------------------------ drawing objects
    DrawingObjectPtr addShape(const SheetNodePtr& sheet, const ShapeInit& init);
    // The user draws an object with a drawing tool: it is added and selected, and the
    // Select Objects tool is off (picking the drawing tool switched it off).
    DrawingObjectPtr drawShape(const ShapeInit& init);
    DrawingObjectPtr findShape(const SheetNodePtr& sheet, const std::string& name) const;
    // Someone else deletes an object of the active sheet (a macro, another add-in).
    void deleteShape(const std::string& name);
    std::vector<DrawingObjectPtr> selectedShapes() const;
    // Renders pictures for CopyPicture and Selection.Copy. Without one, copying drawing
    // objects fails as it does when the host cannot draw them.
    void setPictureRenderer(PictureRenderer renderer);

    // ------------------------------------------------------------ command bars
    const std::vector<BarNodePtr>& bars() const;
    BarNodePtr findBar(const std::string& name) const;  // case-insensitive
    BarNodePtr addBar(const BarInit& init);
    void removeBar(const std::string& name);
    void renameBar(const std::string& name, const std::string& newName);
    // A control by bar name and captions: "Worksheet Menu Bar > &File > &New...".
    ControlNodePtr findByPath(const std::string& path) const;
    ControlNodePtr findByTag(const std::string& tag) const;
    host::CommandBarControlPtr controlHandle(const ControlNodePtr& ctrl);
    host::CommandBarPtr barHandle(const BarNodePtr& bar);
    ControlNodePtr nodeOf(const host::CommandBarControlPtr& ctrl) const;

    // The user clicks a control: false when it is disabled or not on screen.
    bool click(const ControlNodePtr& ctrl);
    bool click(const std::string& path);
    // Enabled and State as the add-in reads them.
    bool controlEnabled(const ControlNodePtr& ctrl) const;
    int32_t controlState(const ControlNodePtr& ctrl) const;
    // The application-wide flags behind Select Objects (182), Snap to Grid (549) and
    // Snap to Shape (1402).
    bool toggle(int32_t id) const;
    void setToggle(int32_t id, bool on);
    // Built-in commands run ("control 18") and macros started ("macro Name"), in order.
    const std::vector<std::string>& executedControls() const;

    std::string dumpBars(const DumpOptions& options = {}) const;

    // What the screen shows, read without counting a call (for pictures of it): a bar's
    // place as Left, Top and Width read it, whether it is shown, a control's width, and the
    // main window's rectangle (the default one when it cannot be found).
    struct Placement {
        int32_t left = 0;
        int32_t top = 0;
        int32_t width = 0;
    };
    Placement barPlacement(const BarNodePtr& bar) const;
    bool barShown(const BarNodePtr& bar) const;
    int32_t controlWidth(const ControlNodePtr& ctrl) const;
    // A button's style as shown (Automatic resolved by its bar and face).
    int32_t shownStyle(const ControlNodePtr& ctrl) const;
    platform::Rect mainWindowRect() const;

    // ------------------------------------------------------------ add-ins and events
    std::shared_ptr<SimAddIn> addAddIn(const std::string& progId);

    void fireUpdate();
    // Every control write made inside an OnUpdate handler raises OnUpdate again, as the
    // host can; nesting stops at a fixed depth and sets updateOverflow().
    void setReentrantUpdates(bool on);
    int32_t maxUpdateDepth() const;
    bool updateOverflow() const;

    // Closes and reopens the host: temporary bars and controls vanish, subscriptions end,
    // everything else stays.
    void restartHost();

private:
    std::shared_ptr<detail::World> world_;
    SimWindowFinder windowFinder_;
};

}  // namespace qm::sim
