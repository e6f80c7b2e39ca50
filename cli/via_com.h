// `quillmark --via-com` (Windows): the scenario's add-in is the real DLL, loaded with
// LoadLibrary, made by its class factory and connected through IDTExtensibility2 to a fake
// Excel over the session's simulated host. What the user sees is observed from outside the
// DLL: its message boxes are found and answered on screen, its beeps, web pages and files
// at its import table, its settings in the registry. Its own windows are used as a user
// uses them (via_com_windows.h).
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace qm::cli {

class Session;

class ViaCom {
public:
    // Loads the DLL (its path, or next to quillmark / in the build tree when empty), and
    // takes over the commands whose effect must reach the DLL. Throws ScriptAbort.
    ViaCom(Session& session, const std::string& dllPath);
    ~ViaCom();
    ViaCom(const ViaCom&) = delete;
    ViaCom& operator=(const ViaCom&) = delete;

    // As the host loads and unloads the add-in.
    void connect(const std::string& progId);
    void disconnect();
    bool connected() const;
    // After each command: returns once no message box is being answered (everything the
    // user saw is recorded), and puts the host's main window where the host now says.
    // Raises the failure of a line that ran inside one of the add-in's windows.
    void settle();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Whether a script's leading comment lines hold "# via-com: no": a scenario that needs
// something the COM mode cannot do yet.
inline bool excludedFromViaCom(const std::string& scriptText) {
    size_t start = 0;
    while (start < scriptText.size()) {
        size_t end = scriptText.find('\n', start);
        if (end == std::string::npos) end = scriptText.size();
        std::string line = scriptText.substr(start, end - start);
        start = end + 1;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos) continue;
        if (line[first] != '#') return false;
        if (line.find("via-com: no") != std::string::npos) return true;
    }
    return false;
}

}  // namespace qm::cli
