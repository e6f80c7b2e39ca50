// What a per-user install must leave alone: the registry outside this user's hive (HKLM
// and every other user's hive) and drive C: outside this user's profile, captured so that
// two captures can be compared.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace qm::installer_test {

struct MachineState {
    // "HKLM\\path" (a key) or "HKLM\\path > name" (a value) -> its type and bytes.
    std::map<std::wstring, std::wstring> registry;
    // "C:\\path" -> size and last write time, or "folder".
    std::map<std::wstring, std::wstring> files;
};

MachineState captureMachineState();

// Every entry added, removed or changed from `before` to `after`, one line each.
std::vector<std::string> differences(const MachineState& before, const MachineState& after);

}  // namespace qm::installer_test
