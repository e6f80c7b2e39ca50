// Workbooks, sheets, drawing objects and the selection of the simulated host.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/text/strings.h"
#include "core/picture/bmp.h"
#include "sim/world.h"

namespace qm::sim::detail {
namespace {

using namespace host;

constexpr size_t kMaxSheetNameLength = 31;

[[noreturn]] void throwSheetNameRefused() {
    throw HostError(err::kApplicationDefined,
                    "Cannot rename a sheet to the same name as another sheet, a referenced object library or a "
                    "workbook referenced by Visual Basic.");
}

std::string defaultNamePrefix(const ShapeInit& init) {
    switch (init.kind) {
        case ShapeKind::AutoShape:
            if (init.autoShapeType == msoShapeRectangle) return "Rectangle ";
            if (init.autoShapeType == msoShapeOval) return "Oval ";
            return "AutoShape ";
        case ShapeKind::TextBox: return "Text Box ";
        case ShapeKind::Line: return "Line ";
        case ShapeKind::Freeform: return "Freeform ";
        case ShapeKind::Group: return "Group ";
        case ShapeKind::Picture: return "Picture ";
        case ShapeKind::Chart: return "Chart ";
        case ShapeKind::Comment: return "Comment ";
        case ShapeKind::FormControl: return "Button ";
        case ShapeKind::OleControl: return "CommandButton";
    }
    return "Object ";
}

void markShapeDeleted(const DrawingObjectPtr& obj) {
    obj->deleted = true;
    for (const auto& m : obj->members) markShapeDeleted(m);
}

}  // namespace

// ---------------------------------------------------------------- workbooks and sheets

SheetNodePtr World::activeSheet() const { return activeBook ? activeBook->activeSheet.lock() : nullptr; }

WorkbookNodePtr World::bookOf(const SheetNodePtr& sheet) const { return sheet->book.lock(); }

int32_t World::nextSheetNumber(const WorkbookNodePtr& book) const {
    // Like the host's counter: one past the highest "SheetN" and past the sheet count,
    // skipping names already taken.
    int32_t highest = static_cast<int32_t>(book->sheets.size());
    for (const auto& s : book->sheets) {
        if (s->name.size() > 5 && sameName(s->name.substr(0, 5), "Sheet")) {
            const std::string digits = s->name.substr(5);
            if (digits.size() <= 6 && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                highest = std::max(highest, std::stoi(digits));
            }
        }
    }
    int32_t n = highest + 1;
    auto taken = [&](int32_t k) {
        return std::any_of(book->sheets.begin(), book->sheets.end(),
                           [&](const auto& s) { return sameName(s->name, "Sheet" + std::to_string(k)); });
    };
    while (taken(n)) ++n;
    return n;
}

SheetNodePtr World::addSheet(const WorkbookNodePtr& book, const std::string& name, bool chart,
                             std::optional<size_t> insertAt) {
    auto sheet = std::make_shared<SheetNode>();
    sheet->name = name;
    sheet->chart = chart;
    sheet->book = book;
    const size_t at = std::min(insertAt.value_or(book->sheets.size()), book->sheets.size());
    book->sheets.insert(book->sheets.begin() + static_cast<std::ptrdiff_t>(at), sheet);
    if (book->activeSheet.expired()) book->activeSheet = sheet;
    return sheet;
}

void World::activateSheet(const SheetNodePtr& sheet) {
    auto book = bookOf(sheet);
    if (!book) return;
    book->activeSheet = sheet;
    activeBook = book;
}

void World::renameSheet(const SheetNodePtr& sheet, const std::string& name) {
    if (name.empty() || characterCount(name) > kMaxSheetNameLength) throwSheetNameRefused();
    if (name.find_first_of(":\\/?*[]") != std::string::npos) throwSheetNameRefused();
    if (auto book = bookOf(sheet)) {
        for (const auto& s : book->sheets) {
            if (s != sheet && sameName(s->name, name)) throwSheetNameRefused();
        }
    }
    sheet->name = name;
}

void World::setBackgroundPicture(const SheetNodePtr& sheet, const std::string& fileName) {
    if (fileName.empty()) {
        sheet->background.reset();
        return;
    }
    std::ifstream in(fileName, std::ios::binary);
    if (!in.is_open()) throwUnableToSet("SetBackgroundPicture", "Worksheet");
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto image = picture::decodeBmp(bytes);
    if (!image) throwUnableToSet("SetBackgroundPicture", "Worksheet");
    std::optional<int32_t> solid;
    if (auto c = picture::uniformColor(*image)) solid = static_cast<int32_t>(*c);
    sheet->background = BackgroundPicture{fileName, image->width, image->height, solid};
}

// ---------------------------------------------------------------- drawing objects

DrawingObjectPtr World::addShape(const SheetNodePtr& sheet, const ShapeInit& init) {
    auto obj = std::make_shared<DrawingObject>();
    obj->kind = init.kind;
    obj->autoShapeType = init.kind == ShapeKind::AutoShape ? init.autoShapeType : kShapeMixed;
    obj->left = init.left;
    obj->top = init.top;
    obj->width = init.width;
    obj->height = init.height;
    obj->rotation = init.rotation;
    obj->text = init.text;
    obj->sheet = sheet;
    // Comments stay hidden until shown; lines have no fill.
    if (init.kind == ShapeKind::Comment) obj->visible = false;
    if (init.kind == ShapeKind::Line) obj->fill = false;

    size_t insertAt = sheet->shapes.size();
    if (init.kind == ShapeKind::Freeform) {
        if (init.nodes.size() < 2) throw std::invalid_argument("a freeform needs at least two nodes");
        obj->nodes = init.nodes;
        fitToNodes(*obj);
    } else if (init.kind == ShapeKind::Group) {
        if (init.members.size() < 2) throw std::invalid_argument("a group needs at least two members");
        size_t highest = 0;
        for (const auto& name : init.members) {
            auto member = findShape(sheet, name);
            if (!member) throw std::invalid_argument("no drawing object named \"" + name + "\"");
            if (std::find(obj->members.begin(), obj->members.end(), member) != obj->members.end()) {
                throw std::invalid_argument("\"" + name + "\" is named twice");
            }
            const auto it = std::find(sheet->shapes.begin(), sheet->shapes.end(), member);
            highest = std::max(highest, static_cast<size_t>(it - sheet->shapes.begin()));
            obj->members.push_back(member);
        }
        // The group takes the place of its frontmost member in the drawing layer; every
        // other member lay below it.
        for (const auto& m : obj->members) std::erase(sheet->shapes, m);
        insertAt = highest - (obj->members.size() - 1);
        fitToMembers(*obj);
    }
    const int32_t number = sheet->nextObjectNumber++;
    obj->name = init.name.empty() ? defaultNamePrefix(init) + std::to_string(number) : init.name;
    sheet->shapes.insert(sheet->shapes.begin() + static_cast<std::ptrdiff_t>(insertAt), obj);
    ++sheet->layerVersion;
    return obj;
}

DrawingObjectPtr World::findShape(const SheetNodePtr& sheet, const std::string& name) const {
    for (const auto& s : sheet->shapes) {
        if (sameName(s->name, name)) return s;
    }
    return nullptr;
}

int32_t World::zOrderPosition(const DrawingObjectPtr& obj) const {
    const auto sheet = obj->sheet.lock();
    if (!sheet) return 0;
    if (obj->layerVersion != sheet->layerVersion) {
        // Every place at once: a list of the sheet's objects reads them all, and a search
        // per object would make that quadratic.
        for (size_t i = 0; i < sheet->shapes.size(); ++i) {
            sheet->shapes[i]->layerPosition = static_cast<int32_t>(i) + 1;
            sheet->shapes[i]->layerVersion = sheet->layerVersion;
        }
        if (obj->layerVersion != sheet->layerVersion) {
            obj->layerPosition = 0;  // a group's member is not in the layer itself
            obj->layerVersion = sheet->layerVersion;
        }
    }
    return obj->layerPosition;
}

void World::zOrder(const DrawingObjectPtr& obj, int32_t command) {
    if (command < msoBringToFront || command > msoSendBackward) throwOutOfRange();
    const auto sheet = obj->sheet.lock();
    if (!sheet) return;
    auto& layer = sheet->shapes;
    const auto it = std::find(layer.begin(), layer.end(), obj);
    if (it == layer.end()) return;
    const auto at = it - layer.begin();
    ++sheet->layerVersion;
    switch (command) {
        case msoBringToFront:
            std::rotate(layer.begin() + at, layer.begin() + at + 1, layer.end());
            break;
        case msoSendToBack:
            std::rotate(layer.begin(), layer.begin() + at, layer.begin() + at + 1);
            break;
        case msoBringForward:
            if (at + 1 < static_cast<std::ptrdiff_t>(layer.size())) std::swap(layer[at], layer[at + 1]);
            break;
        case msoSendBackward:
            if (at > 0) std::swap(layer[at], layer[at - 1]);
            break;
        default: break;
    }
}

void World::deleteShape(const DrawingObjectPtr& obj) {
    if (auto sheet = obj->sheet.lock()) {
        std::erase(sheet->shapes, obj);
        ++sheet->layerVersion;
        std::erase_if(sheet->selectedShapes, [&](const auto& w) { return w.lock() == obj; });
    }
    markShapeDeleted(obj);
}

void World::moveShape(DrawingObject& obj, float dx, float dy) {
    obj.left += dx;
    obj.top += dy;
    for (auto& n : obj.nodes) {
        n.x += dx;
        n.y += dy;
    }
    for (const auto& m : obj.members) moveShape(*m, dx, dy);
}

void World::resizeShape(DrawingObject& obj, std::optional<float> width, std::optional<float> height) {
    // Nodes and group members scale about the object's top-left corner.
    const float sx = width && obj.width != 0 ? *width / obj.width : 1.0f;
    const float sy = height && obj.height != 0 ? *height / obj.height : 1.0f;
    for (auto& n : obj.nodes) {
        n.x = obj.left + (n.x - obj.left) * sx;
        n.y = obj.top + (n.y - obj.top) * sy;
    }
    for (const auto& m : obj.members) {
        const float newLeft = obj.left + (m->left - obj.left) * sx;
        const float newTop = obj.top + (m->top - obj.top) * sy;
        moveShape(*m, newLeft - m->left, newTop - m->top);
        resizeShape(*m, m->width * sx, m->height * sy);
    }
    if (width) obj.width = *width;
    if (height) obj.height = *height;
}

void World::setNodePosition(DrawingObject& obj, size_t index, float x, float y) {
    obj.nodes.at(index).x = x;
    obj.nodes.at(index).y = y;
    fitToNodes(obj);
}

void World::fitToNodes(DrawingObject& obj) {
    if (obj.nodes.empty()) return;
    float minX = obj.nodes[0].x, maxX = minX, minY = obj.nodes[0].y, maxY = minY;
    for (const auto& n : obj.nodes) {
        minX = std::min(minX, n.x);
        maxX = std::max(maxX, n.x);
        minY = std::min(minY, n.y);
        maxY = std::max(maxY, n.y);
    }
    obj.left = minX;
    obj.top = minY;
    obj.width = maxX - minX;
    obj.height = maxY - minY;
}

void World::fitToMembers(DrawingObject& obj) {
    if (obj.members.empty()) return;
    float minX = obj.members[0]->left, minY = obj.members[0]->top;
    float maxX = minX + obj.members[0]->width, maxY = minY + obj.members[0]->height;
    for (const auto& m : obj.members) {
        minX = std::min(minX, m->left);
        minY = std::min(minY, m->top);
        maxX = std::max(maxX, m->left + m->width);
        maxY = std::max(maxY, m->top + m->height);
    }
    obj.left = minX;
    obj.top = minY;
    obj.width = maxX - minX;
    obj.height = maxY - minY;
}

bool World::hasTextFrame(const DrawingObject& obj) {
    switch (obj.kind) {
        case ShapeKind::AutoShape:
        case ShapeKind::TextBox:
        case ShapeKind::Freeform:
        case ShapeKind::Comment: return true;
        default: return false;
    }
}

int32_t World::shapeType(const DrawingObject& obj) {
    switch (obj.kind) {
        case ShapeKind::AutoShape: return msoAutoShape;
        case ShapeKind::TextBox: return msoTextBox;
        case ShapeKind::Line: return msoLine;
        case ShapeKind::Freeform: return msoFreeform;
        case ShapeKind::Group: return msoGroup;
        case ShapeKind::Picture: return msoPicture;
        case ShapeKind::Chart: return msoChart;
        case ShapeKind::Comment: return msoComment;
        case ShapeKind::FormControl: return msoFormControl;
        case ShapeKind::OleControl: return msoOLEControlObject;
    }
    return msoShapeTypeMixed;
}

int32_t World::autoShapeTypeOf(const DrawingObject& obj) {
    switch (obj.kind) {
        case ShapeKind::AutoShape: return obj.autoShapeType;
        case ShapeKind::Freeform:
        case ShapeKind::Line: return kShapeNotPrimitive;
        default: return kShapeMixed;
    }
}

std::string World::selectionTypeName(const DrawingObject& obj) {
    switch (obj.kind) {
        case ShapeKind::AutoShape:
            if (obj.autoShapeType == msoShapeRectangle) return "Rectangle";
            if (obj.autoShapeType == msoShapeOval) return "Oval";
            return "Drawing";
        case ShapeKind::TextBox:
        case ShapeKind::Comment: return "TextBox";
        case ShapeKind::Line: return "Line";
        case ShapeKind::Freeform: return "Drawing";
        case ShapeKind::Group: return "GroupObject";
        case ShapeKind::Picture: return "Picture";
        case ShapeKind::Chart: return "ChartObject";
        case ShapeKind::FormControl: return "Button";
        case ShapeKind::OleControl: return "OLEObject";
    }
    return "Drawing";
}

// ---------------------------------------------------------------- selection

std::vector<DrawingObjectPtr> World::selectedShapes(const SheetNodePtr& sheet) const {
    std::vector<DrawingObjectPtr> out;
    for (const auto& w : sheet->selectedShapes) {
        if (auto s = w.lock(); s && !s->deleted) out.push_back(s);
    }
    return out;
}

void World::selectShapes(const SheetNodePtr& sheet, const std::vector<DrawingObjectPtr>& objs, bool replace) {
    std::vector<DrawingObjectPtr> current = replace ? std::vector<DrawingObjectPtr>{} : selectedShapes(sheet);
    for (const auto& o : objs) {
        if (std::find(current.begin(), current.end(), o) == current.end()) current.push_back(o);
    }
    sheet->selectedShapes.assign(current.begin(), current.end());
    sheet->nothingSelected = false;
    fireUpdate();
}

void World::selectRange(const SheetNodePtr& sheet, const CellArea& area) {
    sheet->selectedShapes.clear();
    sheet->selectedRange = area;
    sheet->nothingSelected = false;
    fireUpdate();
}

void World::selectNothing(const SheetNodePtr& sheet) {
    sheet->selectedShapes.clear();
    sheet->nothingSelected = true;
    fireUpdate();
}

void World::copyToClipboard(const SheetNodePtr& sheet, const std::vector<DrawingObjectPtr>& objs,
                            std::optional<CellArea> cells, bool selectionCopy, int32_t appearance, int32_t format) {
    if (!objs.empty() && !renderer) {
        throw HostError(err::kApplicationDefined, "CopyPicture method of Shape class failed");
    }
    std::vector<platform::Picture> pictures;
    if (renderer) {
        RenderRequest request;
        request.sheet = sheet;
        request.shapes = objs;
        request.cells = cells;
        request.appearance = appearance;
        request.format = format;
        request.selectionCopy = selectionCopy;
        pictures = renderer(request);
    }
    std::optional<std::string> textForm;
    if (cells) {
        // Copied cells also travel as text: tabs between cells, CR LF after each row,
        // over the part of the block that holds anything (at least its first cell).
        CellArea area = *cells;
        if (area.all) area = CellArea{{1, 1}, {kSheetRows, kSheetColumns}, false};
        CellRef lastUsed = area.first;
        for (const auto& [ref, value] : sheet->cellText) {
            if (ref.row >= area.first.row && ref.row <= area.last.row && ref.column >= area.first.column &&
                ref.column <= area.last.column) {
                lastUsed.row = std::max(lastUsed.row, ref.row);
                lastUsed.column = std::max(lastUsed.column, ref.column);
            }
        }
        const bool small = cellCount(area) <= 4096;
        const CellRef last = small ? area.last : lastUsed;
        std::string t;
        for (int32_t r = area.first.row; r <= last.row; ++r) {
            for (int32_t c = area.first.column; c <= last.column; ++c) {
                if (c > area.first.column) t += '\t';
                const auto it = sheet->cellText.find(CellRef{r, c});
                if (it != sheet->cellText.end()) t += it->second;
            }
            t += "\r\n";
        }
        textForm = t;
    }
    clipboard->clear();
    for (const auto& p : pictures) clipboard->setPicture(p, p.format);
    if (textForm) clipboard->setText(*textForm, platform::cf::kText);
}

}  // namespace qm::sim::detail
