// Checks the add-in's per-user registration after `regsvr32 /n /i:user`, or that nothing
// of it is left after `regsvr32 /u /n /i:user`.
// Usage: qm_com_e2e_registry_check registered <dll path> | unregistered
#include <iostream>
#include <string>

#include "tests/com/e2e/registry.h"
#include "sim/com/addin_host.h"

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    std::vector<std::string> problems;
    if (mode == "registered" && argc == 3) {
        problems = qm::e2e::registrationProblems(qm::fake::windowsPath(argv[2]));
    } else if (mode == "unregistered" && argc == 2) {
        for (const std::string& key : qm::e2e::leftoverKeys()) problems.push_back(key + " is still there");
    } else {
        std::cerr << "usage: qm_com_e2e_registry_check registered <dll path> | unregistered\n";
        return 2;
    }
    for (const std::string& p : problems) std::cerr << p << "\n";
    std::cout << (problems.empty() ? "registration as expected\n" : "registration differs\n");
    return problems.empty() ? 0 : 1;
}
