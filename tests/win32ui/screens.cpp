// Shows the add-in's three windows over the simulated host for screenshots, in the user
// interface language of the locale it runs in. At each picture it writes
// <dir>/<window>-<lang>.ready with the window's screen rectangle and waits, its windows
// still running, until the script that takes the picture writes <window>-<lang>.done.
// Usage: qm_win32ui_screens <dir> <lang>
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/win32ui/addin_fixture.h"
#include "tests/win32ui/driver.h"

namespace qm::win32::ui::testing {
namespace {

constexpr int kWaitTicks = 3000;  // a picture not taken in time is given up

class Shots {
public:
    Shots(std::string dir, std::string lang) : dir_(std::move(dir)), lang_(std::move(lang)) {}

    // A step that shows the active window fully drawn and waits for its picture.
    ModalScript::Step picture(ModalScript*& script, Toolkit& toolkit, const std::string& name) {
        return [this, &script, &toolkit, name] {
            const std::string base = dir_ + "/" + name + "-" + lang_;
            HWND window = toolkit.activeModalWindow();
            if (!announced_) {
                ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
                ::GdiFlush();
                RECT rc;
                ::GetWindowRect(window, &rc);
                std::ofstream(base + ".ready") << rc.left << " " << rc.top << " " << rc.right - rc.left << " " << rc.bottom - rc.top
                                               << "\n";
                announced_ = true;
                ticks_ = 0;
            }
            if (::GetFileAttributesA((base + ".done").c_str()) == INVALID_FILE_ATTRIBUTES && ++ticks_ < kWaitTicks) {
                script->again();
                ::Sleep(10);
                return;
            }
            if (ticks_ >= kWaitTicks) std::printf("no picture of %s\n", name.c_str());
            announced_ = false;
        };
    }

private:
    std::string dir_;
    std::string lang_;
    bool announced_ = false;
    int ticks_ = 0;
};

int run(const std::string& dir, const std::string& lang) {
    WindowsAddin h;
    h.addDrawing();
    if (!h.connect()) return 2;
    h.host.selectShapes({"Freeform 3"});
    Shots shots(dir, lang);
    ModalScript* current = nullptr;
    const auto show = [&](const std::string& path, std::vector<ModalScript::Step> steps) {
        ModalScript script(h.toolkit, std::move(steps));
        current = &script;
        h.host.click(path);
        return script.finished() && !script.timedOut();
    };
    bool ok = show(h.productItem(44),
                   {[&] { postButton(h.window("frmObjects")->window("cmdNodeShow")); },
                    [&] {
                        // The freeform's second node picked in the grid.
                        Form* f = h.window("frmObjects");
                        auto* grid = dynamic_cast<qm::ui::Grid*>(f->find("fxgNodes"));
                        if (grid) grid->setCurrentCell(2, 1);
                    },
                    shots.picture(current, h.toolkit, "objects"),
                    [&] { postButton(h.window("frmObjects")->window("cmdClose")); }});
    ok = show(h.productItem(2),
              {[&] { postButton(h.window("frmSetting")->window("chkBackColor")); },
               shots.picture(current, h.toolkit, "setting"),
               [&] { postButton(h.window("frmSetting")->window("cmdCancel")); }}) && ok;
    ok = show(h.productItem(1),
              {[&] { postButton(h.window("frmOnePoint")->window("cmdNext")); },
               shots.picture(current, h.toolkit, "onepoint"),
               [&] { postButton(h.window("frmOnePoint")->window("cmdOK")); }}) && ok;
    return ok ? 0 : 1;
}

}  // namespace
}  // namespace qm::win32::ui::testing

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qm_win32ui_screens <dir> <lang>\n");
        return 2;
    }
    try {
        return qm::win32::ui::testing::run(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qm_win32ui_screens: %s\n", e.what());
        return 1;
    }
}
