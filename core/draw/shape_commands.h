// Commands on the current selection in Draw mode: text auto size, the four vertical text
// alignments and the selection lock; and the OnUpdate handler that keeps their buttons in
// step with the selection.
#pragma once

#include "core/addin/state.h"

namespace qm::draw {

void textAutoSizeClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);
void textValignTopClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);
void textValignCenterClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);
void textValignBottomClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);
void textValignJustifyClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);
void objectSelectLockClick(addin::AddinState& s, const host::CommandBarControlPtr& ctrl, bool& cancelDefault);

// The host's OnUpdate: guarded against re-entry; writes a button property only when it
// differs from what it should be.
void onUpdate(addin::AddinState& s);

}  // namespace qm::draw
