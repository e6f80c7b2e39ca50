// The component's collection of loaded windows, so that disconnection can unload every
// one of them in load order.
#pragma once

#include <algorithm>
#include <vector>

namespace qm::ui {

class Unloadable {
public:
    virtual ~Unloadable() = default;
    virtual void unload() = 0;
};

class LoadedForms {
public:
    void add(Unloadable* form) {
        if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
    }
    void remove(Unloadable* form) { forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end()); }
    bool empty() const { return forms_.empty(); }

    // Unloads every loaded window, first loaded first. A window removes itself while it
    // unloads, so the walk works on a copy.
    void unloadAll() {
        const std::vector<Unloadable*> loaded = forms_;
        for (Unloadable* f : loaded) {
            if (std::find(forms_.begin(), forms_.end(), f) != forms_.end()) f->unload();
        }
        forms_.clear();
    }

private:
    std::vector<Unloadable*> forms_;
};

}  // namespace qm::ui
