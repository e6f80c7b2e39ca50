// What keeps the DLL loaded: live objects (the add-in object and class factories) and
// IClassFactory::LockServer locks. DllCanUnloadNow asks it.
#pragma once

#include <atomic>

namespace qm::com {

class ServerLocks {
public:
    void objectCreated() noexcept { ++objects_; }
    void objectDestroyed() noexcept { --objects_; }
    void lock() noexcept { ++locks_; }
    void unlock() noexcept { --locks_; }
    bool canUnload() const noexcept { return objects_ == 0 && locks_ == 0; }
    long objects() const noexcept { return objects_; }
    long locks() const noexcept { return locks_; }

private:
    std::atomic<long> objects_{0};
    std::atomic<long> locks_{0};
};

}  // namespace qm::com
