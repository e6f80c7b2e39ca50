// RAII ownership of one event subscription: dropping or resetting it disconnects the
// handler, so no event can reach an object that has let go of its source.
#pragma once

#include <functional>
#include <utility>

namespace qm::host {

class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> disconnect) : disconnect_(std::move(disconnect)) {}
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    Subscription(Subscription&& other) noexcept : disconnect_(std::exchange(other.disconnect_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            disconnect_ = std::exchange(other.disconnect_, {});
        }
        return *this;
    }
    ~Subscription() { reset(); }

    // Disconnects now. A failing disconnect (the source already gone) is not an error
    // of the subscriber, so it is swallowed here rather than thrown out of a destructor.
    void reset() noexcept {
        if (auto d = std::exchange(disconnect_, {})) {
            try {
                d();
            } catch (...) {
            }
        }
    }

    explicit operator bool() const noexcept { return static_cast<bool>(disconnect_); }

private:
    std::function<void()> disconnect_;
};

}  // namespace qm::host
