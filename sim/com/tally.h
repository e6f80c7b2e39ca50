// What the fake Excel counts: its live COM objects and the references held on them, and
// every IDispatch call made to it, so that tests can prove a client released everything it
// took and can measure how many calls a connection or a click costs.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace qm::fake {

struct Tally {
    // Objects alive and the sum of their reference counts. Kinds are the fake's class
    // names ("Application", "CommandBarControl", "TypeInfo" ...).
    int64_t liveObjects = 0;
    int64_t liveReferences = 0;
    std::map<std::string, int64_t> liveByKind;
    int64_t objectsCreated = 0;

    // IDispatch::Invoke calls, in total and by "Kind.Member" ("CommandBar.Visible=" for a
    // property put), and name lookups (IDispatch and ITypeInfo GetIDsOfNames) by name asked.
    int64_t invokes = 0;
    std::map<std::string, int64_t> invokesByName;
    int64_t nameLookups = 0;
    std::map<std::string, int64_t> nameLookupsByName;
    int64_t typeInfoRequests = 0;
    // Calls the object model does not have: names an object lacks, and Invokes refused
    // for their arguments or flags (a bad count, a type mismatch) rather than failed by
    // the host. A client that keeps to Excel's object model causes none.
    std::map<std::string, int64_t> unknownNames;
    std::map<std::string, int64_t> refusedInvokes;

    // Event sinks advised and not yet unadvised; events raised on sinks and the failure
    // HRESULTs they answered with.
    int64_t liveAdvises = 0;
    int64_t eventsRaised = 0;
    int64_t eventFailures = 0;

    int64_t invokesOf(const std::string& name) const {
        const auto it = invokesByName.find(name);
        return it == invokesByName.end() ? 0 : it->second;
    }
    int64_t nameLookupsOf(const std::string& name) const {
        const auto it = nameLookupsByName.find(name);
        return it == nameLookupsByName.end() ? 0 : it->second;
    }
    int64_t live(const std::string& kind) const {
        const auto it = liveByKind.find(kind);
        return it == liveByKind.end() ? 0 : it->second;
    }
    // Starts a new measurement of calls; objects and references are not calls.
    void resetCalls() {
        invokes = 0;
        invokesByName.clear();
        nameLookups = 0;
        nameLookupsByName.clear();
        typeInfoRequests = 0;
        unknownNames.clear();
        refusedInvokes.clear();
        eventsRaised = 0;
        eventFailures = 0;
    }
};

}  // namespace qm::fake
