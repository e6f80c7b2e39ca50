// The stage of the end-to-end tests: the real add-in DLL loaded from the build tree, a
// fake Excel over a simulated host with one workbook, a user who answers message boxes,
// and the DLL's beeps and opened web pages recorded at its import table.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "sim/addin.h"
#include "sim/com/addin_host.h"
#include "sim/com/desktop.h"
#include "sim/com/fake_excel.h"
#include "sim/com/system_calls.h"
#include "win32/clipboard.h"

namespace qm::e2e {

using fake::ComPtr;
using fake::Variant;

// The built DLL's path as Windows programs see it.
std::wstring addinDllPath();

// Removes a registry key and everything under it; true when it is gone.
bool removeRegistryTree(HKEY root, const std::wstring& path);

class ComApartment {
public:
    ComApartment() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { ::CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

class Harness {
public:
    // Book1 with Sheet1..Sheet3 open, Sheet1 active; the add-in's settings start empty.
    Harness();
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    // Loads the add-in as Excel does at start-up; OnConnection's result.
    HRESULT connect();
    // OnDisconnection and the object released, as when the user unloads the add-in.
    HRESULT disconnect();
    // A click on a control by path ("Worksheet Menu Bar > &NVK > ..."), as the user
    // clicks; false when it could not be clicked.
    bool click(const std::string& path);
    bool clickNode(const sim::ControlNodePtr& control);
    // The add-in's product submenu items (Draw mode, Save picture, Object list,
    // Setting, Help) by position, whatever the language.
    sim::ControlNodePtr productItem(size_t index) const;

    // The button pressed in the next message box (its default button otherwise).
    void answer(int button) { answers_.push_back(button); }
    // The next time the add-in's window `form` takes input, the user clicks these of its
    // controls in turn. A window with nothing to do is closed with its close box.
    void useWindow(const std::string& form, std::vector<std::string> controls);
    // Draw mode without the one-point advice window: the stored setting says not to show it.
    void skipOnePointAdvice();
    // Dialogs and windows shown so far; every call first waits for the user to finish.
    const std::vector<fake::SeenDialog>& dialogs();
    // Only the message boxes among them (the add-in's own windows are closed unused).
    std::vector<fake::SeenDialog> messageBoxes();

    // Nothing of the fake Excel is held by anyone: every object and reference the DLL
    // took has been given back, no sink is advised, no host handle is alive.
    ::testing::AssertionResult allReleased();

    ComApartment apartment;
    fake::AddinDll dll{addinDllPath()};

private:
    std::deque<int> answers_;
    std::deque<std::pair<std::string, std::vector<std::string>>> windowUses_;
    std::vector<fake::SeenDialog> dialogs_;
    fake::DialogWatcher user_;

public:
    int beeps = 0;
    std::vector<std::string> opened;
    fake::SystemCallRecorder system;
    // The host's clipboard is the system's, which the DLL uses too.
    win32::Win32Clipboard clipboard;
    sim::SimHost host{clipboard};
    fake::FakeExcel excel{host};
    sim::WorkbookNodePtr book;
    std::shared_ptr<sim::SimAddIn> record;
    fake::AddinHost addin{dll, excel};
};

}  // namespace qm::e2e
