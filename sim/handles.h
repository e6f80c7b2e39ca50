// The objects the add-in holds: small handles onto model nodes. Each counts itself live
// while it exists and counts every member call made through it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/host/host.h"
#include "sim/model.h"

namespace qm::sim::detail {

class World;

class Handle {
public:
    Handle(const std::shared_ptr<World>& world, std::string object);
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    virtual ~Handle();

    const std::string& objectName() const { return object_; }
    std::shared_ptr<World> world() const { return world_.lock(); }

protected:
    // Counts the call "<Object>.<member>" and returns the host, or throws when the host
    // is gone or an armed failure hits this call.
    std::shared_ptr<World> enter(const char* member) const;
    [[noreturn]] void failed(const char* member) const;

private:
    std::weak_ptr<World> world_;
    std::string object_;
};

host::ApplicationPtr makeApplication(const std::shared_ptr<World>& world);
host::SheetPtr makeSheet(const std::shared_ptr<World>& world, const SheetNodePtr& sheet);
host::RangePtr makeRange(const std::shared_ptr<World>& world, const SheetNodePtr& sheet, const CellArea& area);
host::ShapePtr makeShape(const std::shared_ptr<World>& world, const DrawingObjectPtr& obj);
host::ShapePtr makeShapeRange(const std::shared_ptr<World>& world, std::vector<DrawingObjectPtr> objs);
host::ShapesPtr makeShapes(const std::shared_ptr<World>& world, const SheetNodePtr& sheet);
host::CommandBarsPtr makeCommandBars(const std::shared_ptr<World>& world);
host::CommandBarPtr makeBar(const std::shared_ptr<World>& world, const BarNodePtr& bar);
host::CommandBarControlPtr makeControl(const std::shared_ptr<World>& world, const ControlNodePtr& ctrl);

// The model node behind a control handle of this host, null for anything else.
ControlNodePtr controlNodeOf(const host::CommandBarControlPtr& ctrl);
BarNodePtr barNodeOf(const host::CommandBarPtr& bar);

}  // namespace qm::sim::detail
