// quillmark: runs a scenario script against the simulated host with the real add-in and
// prints what the user sees.
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/session.h"
#include "cli/via_com.h"

namespace {

void usage(std::ostream& out) {
    out << "usage: quillmark [--settings FILE|user] [--open-browser] [--locale COUNTRY] [--html FILE]\n"
           "                 [--via-com [--dll PATH]] [SCRIPT | -]\n"
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
           "saved pictures.\n";
}

}  // namespace

int main(int argc, char** argv) {
    qm::cli::Options options;
    std::string path = "-";
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
    qm::cli::Script script = qm::cli::Script::fromText(text.str(), path == "-" ? "<stdin>" : path);
    options.scriptName = script.name();
    try {
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
