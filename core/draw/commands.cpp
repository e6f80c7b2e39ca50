// Command handlers that open windows and web pages.
#include "core/draw/commands.h"

namespace qm::draw {

void developerSiteClick(addin::AddinState& s, const host::CommandBarControlPtr&, bool&) {
    s.os.shell.open(s.config.developerSiteUrl);
}

void helpClick(addin::AddinState& s, const host::CommandBarControlPtr&, bool&) {
    s.os.shell.open(s.config.helpUrl);
}

}  // namespace qm::draw
