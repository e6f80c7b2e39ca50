// The host's object model over IDispatch: one adapter per host interface, each holding a
// reference to the host object it stands for (released when the adapter goes). Members
// call the Excel and Office automation members of the same meaning.
#pragma once

#include "com/dispatch.h"
#include "core/host/host.h"

namespace qm::com {

class ComApplication final : public host::Application, public Adapter {
public:
    using Adapter::Adapter;
    std::string version() override;
    host::WorkbookPtr activeWorkbook() override;
    host::WindowPtr activeWindow() override;
    host::SheetPtr activeSheet() override;
    host::SelectionPtr selection() override;
    host::CommandBarsPtr commandBars() override;
    bool screenUpdating() override;
    void setScreenUpdating(bool value) override;
    bool displayFormulaBar() override;
    void setDisplayFormulaBar(bool value) override;
    bool displayFullScreen() override;
    void setDisplayFullScreen(bool value) override;
    std::string caption() override;
    double top() override;
    std::string getSaveAsFilename(const std::string& initialFilename, const std::string& fileFilter,
                                  int32_t filterIndex, const std::string& title) override;
    double centimetersToPoints(double centimeters) override;
    host::Subscription onSheetChange(host::SheetChangeHandler handler) override;
};

class ComWorkbook final : public host::Workbook, public Adapter {
public:
    using Adapter::Adapter;
    host::SheetsPtr sheets() override;
};

class ComSheets final : public host::Sheets, public Adapter {
public:
    using Adapter::Adapter;
    int32_t count() override;
    host::SheetPtr item(int32_t index) override;
    host::SheetPtr add(const host::SheetPtr& after) override;
};

class ComSheet final : public host::Sheet, public Adapter {
public:
    using Adapter::Adapter;
    std::string typeName() override;
    std::string name() override;
    void setName(const std::string& name) override;
    host::RangePtr cells() override;
    void setBackgroundPicture(const std::string& fileName) override;
    host::ShapesPtr shapes() override;
};

class ComRange final : public host::Range, public Adapter {
public:
    using Adapter::Adapter;
    int32_t count() override;
    double columnWidth() override;
    void setColumnWidth(double value) override;
    double rowHeight() override;
    void setRowHeight(double value) override;
};

class ComWindow final : public host::Window, public Adapter {
public:
    using Adapter::Adapter;
    bool displayGridlines() override;
    void setDisplayGridlines(bool value) override;
};

class ComSelection final : public host::Selection, public Adapter {
public:
    using Adapter::Adapter;
    std::string typeName() override;
    int32_t count() override;
    void copy() override;
    bool autoSize() override;
    void setAutoSize(bool value) override;
    int32_t verticalAlignment() override;
    void setVerticalAlignment(int32_t value) override;
    host::ShapePtr shapeRange() override;
};

class ComShapes final : public host::Shapes, public Adapter {
public:
    using Adapter::Adapter;
    int32_t count() override;
    host::ShapePtr item(int32_t index) override;
    host::ShapePtr item(const std::string& name) override;
    host::ShapePtr addShape(int32_t autoShapeType, float left, float top, float width, float height) override;
    host::ShapePtr range(const std::vector<std::string>& names) override;
};

// A Shape or a ShapeRange: both answer these members.
class ComShape final : public host::Shape, public Adapter {
public:
    using Adapter::Adapter;
    std::string name() override;
    int32_t type() override;
    int32_t autoShapeType() override;
    int32_t zOrderPosition() override;
    void zOrder(int32_t command) override;
    int32_t visible() override;
    void setVisible(int32_t value) override;
    void select(bool replace) override;
    void remove() override;
    void copyPicture(int32_t appearance, int32_t format) override;
    void incrementRotation(float degrees) override;
    float left() override;
    void setLeft(float value) override;
    float top() override;
    void setTop(float value) override;
    float width() override;
    void setWidth(float value) override;
    float height() override;
    void setHeight(float value) override;
    float rotation() override;
    void setRotation(float value) override;
    host::ShapeNodesPtr nodes() override;
    int32_t formatVisible(host::ShapeFormat format) override;
    void setFormatVisible(host::ShapeFormat format, int32_t value) override;

private:
    Dispatch format(host::ShapeFormat which);
};

class ComShapeNodes final : public host::ShapeNodes, public Adapter {
public:
    using Adapter::Adapter;
    int32_t count() override;
    host::ShapeNodePtr item(int32_t index) override;
    void setPosition(int32_t index, float x, float y) override;
};

class ComShapeNode final : public host::ShapeNode, public Adapter {
public:
    using Adapter::Adapter;
    host::NodePoint points() override;
    int32_t editingType() override;
    int32_t segmentType() override;
};

class ComCommandBars final : public host::CommandBars, public Adapter {
public:
    using Adapter::Adapter;
    int32_t count() override;
    host::CommandBarPtr item(int32_t index) override;
    host::CommandBarPtr item(const std::string& name) override;
    host::CommandBarPtr add(const host::BarSpec& wanted) override;
    host::CommandBarControlPtr findControl(const host::FindSpec& criteria) override;
    host::Subscription onUpdate(host::UpdateHandler handler) override;
};

class ComCommandBar final : public host::CommandBar, public Adapter {
public:
    using Adapter::Adapter;
    std::string name() override;
    std::string nameLocal() override;
    int32_t index() override;
    int32_t type() override;
    bool enabled() override;
    void setEnabled(bool value) override;
    bool visible() override;
    void setVisible(bool value) override;
    int32_t position() override;
    void setPosition(int32_t value) override;
    int32_t rowIndex() override;
    void setRowIndex(int32_t value) override;
    int32_t left() override;
    void setLeft(int32_t value) override;
    int32_t top() override;
    void setTop(int32_t value) override;
    int32_t width() override;
    void setWidth(int32_t value) override;
    int32_t protection() override;
    void setProtection(int32_t value) override;
    host::CommandBarControlsPtr controls() override;
    host::CommandBarControlPtr findControl(const host::FindSpec& criteria) override;
    void remove() override;
};

class ComCommandBarControls final : public host::CommandBarControls, public Adapter {
public:
    using Adapter::Adapter;
    int32_t count() override;
    host::CommandBarControlPtr item(int32_t index) override;
    host::CommandBarControlPtr add(const host::ControlSpec& wanted) override;
};

class ComCommandBarControl final : public host::CommandBarControl, public Adapter {
public:
    using Adapter::Adapter;
    int32_t id() override;
    int32_t type() override;
    std::string caption() override;
    void setCaption(const std::string& value) override;
    std::string tag() override;
    void setTag(const std::string& value) override;
    bool beginGroup() override;
    void setBeginGroup(bool value) override;
    std::string onAction() override;
    void setOnAction(const std::string& value) override;
    bool enabled() override;
    void setEnabled(bool value) override;
    int32_t width() override;
    void setWidth(int32_t value) override;
    void remove() override;
    host::CommandBarControlPtr copy(const host::CommandBarPtr& bar) override;
    void execute() override;
    int32_t faceId() override;
    void setFaceId(int32_t value) override;
    void pasteFace() override;
    int32_t style() override;
    void setStyle(int32_t value) override;
    int32_t state() override;
    void setState(int32_t value) override;
    host::Subscription onClick(host::ClickHandler handler) override;
    host::CommandBarControlsPtr controls() override;
    host::CommandBarPtr commandBar() override;
};

// The COMAddIn object the host hands to OnConnection.
class ComAddIn final : public host::AddIn, public Adapter {
public:
    using Adapter::Adapter;
    std::string progId() override;
    void setConnect(bool value) override;
};

}  // namespace qm::com
