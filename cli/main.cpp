// quillmark: runs a scenario script against the simulated host with the real add-in and
// prints what the user sees.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/fault_sweep.h"
#include "cli/session.h"
#include "cli/via_com.h"

namespace {

void usage(std::ostream& out) {
    out << "usage: quillmark [--settings FILE|user] [--open-browser] [--locale COUNTRY] [--html FILE]\n"
           "                 [--via-com [--dll PATH]] [SCRIPT | -]\n"
           "       quillmark --fault-sweep [--every N] [--via-com [--dll PATH]] SCRIPT\n"
           "Runs a scenario script (a file, or standard input for \"-\" or none) against the\n"
           "simulated spreadsheet host with the Quillmark in Excel add-in, and prints the\n"
           "transcript: every command, and the message boxes, beeps, web pages and files the\n"
           "user would see. Exit status: 0 all checks held, 1 a check failed, 2 a bad script.\n"
           "--via-com (Windows): the add-in is the real QuillmarkInExcel.dll (next to quillmark,\n"
           "in the build tree, or PATH), connected through COM to a fake Excel; it uses the\n"
           "registry settings (put back afterwards) and the clipboard of this user. Scripts\n"
           "marked \"# via-com: no\" in their first comment lines are refused.\n"
           "--locale COUNTRY: the system's locale when the script starts (Japan, \"United States\"\n"
           "...); the script's English captions and messages are read as the add-in shows them.\n"
           "--html FILE: also writes the run as a self-contained HTML page: the script's\n"
           "comments, the transcript, and pictures of the bars, windows, message boxes and\n"
           "saved pictures.\n"
           "--fault-sweep runs the script once to count its host calls, then again with each\n"
           "call failing in turn (every call up to 5,000 calls, 2,000 spread points above; with\n"
           "--every N every N-th of those), and checks after each run and a final disconnection\n"
           "that Excel was left usable. Exit status: 0 every point survived, 1 one did not.\n";
}

}  // namespace

int main(int argc, char** argv) {
    qm::cli::Options options;
    std::string path = "-";
    bool sweep = false;
    qm::cli::SweepOptions sweepOptions;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return 0;
        }
        if (arg == "--settings" && i + 1 < argc) {
            options.settingsFile = argv[++i];
        } else if (arg == "--open-browser") {
            options.openBrowser = true;
        } else if (arg == "--via-com") {
            options.viaCom = true;
        } else if (arg == "--fault-sweep") {
            sweep = true;
        } else if (arg == "--every" && i + 1 < argc) {
            sweepOptions.step = std::atoll(argv[++i]);
        } else if (arg == "--dll" && i + 1 < argc) {
            options.addinDll = argv[++i];
        } else if (arg == "--locale" && i + 1 < argc) {
            options.locale = argv[++i];
        } else if (arg == "--html" && i + 1 < argc) {
            options.htmlFile = argv[++i];
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            usage(std::cerr);
            return 2;
        } else {
            path = arg;
        }
    }
    std::stringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
    } else {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::cerr << "quillmark: cannot read " << path << "\n";
            return 2;
        }
        text << in.rdbuf();
    }
    if (!options.addinDll.empty() && !options.viaCom) {
        std::cerr << "quillmark: --dll goes with --via-com\n";
        return 2;
    }
    if (options.viaCom && qm::cli::excludedFromViaCom(text.str())) {
        std::cerr << "quillmark: " << path << " is marked \"# via-com: no\": it needs what --via-com cannot do yet\n";
        return 2;
    }
    const std::string name = path == "-" ? "<stdin>" : path;
    qm::cli::Script script = qm::cli::Script::fromText(text.str(), name);
    options.scriptName = script.name();
    try {
        if (sweep) {
            sweepOptions.session = options;
            return qm::cli::runFaultSweep(text.str(), name, sweepOptions, std::cout);
        }
        qm::cli::Session session(std::cout, options);
        return session.run(script);
    } catch (const qm::cli::ScriptAbort& e) {
        std::cerr << "quillmark: " << e.message() << "\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "quillmark: " << e.what() << "\n";
        return 2;
    }
}
