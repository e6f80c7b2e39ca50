// Late-bound calls on the host's objects: one wrapped IDispatch per object, members named
// as the host's object model names them, DISPIDs looked up once per type of object.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "com/owners.h"
#include "com/variant.h"
#include "core/host/error.h"

namespace qm::com {

// The locale of every GetIDsOfNames and Invoke: the user's, as the classic runtime passes.
inline constexpr LCID kCallLocale = LOCALE_USER_DEFAULT;

// DISPIDs by member name, kept per type of object (the name ITypeInfo gives it:
// "Worksheet", "CommandBarButton"), so that after the first object of a type no call asks
// GetIDsOfNames again. Names the type lacks are remembered as lacking (error 438).
class DispidCache {
public:
    using Members = std::map<std::wstring, DISPID, std::less<>>;

    // The DISPID of `name` on `object`. `typeName` empty means the object's type is
    // unknown; its names are then kept in `own`, which belongs to that one object.
    DISPID resolve(IDispatch* object, std::wstring_view typeName, Members& own, std::wstring_view name);
    size_t typeCount() const noexcept { return types_.size(); }

private:
    std::map<std::wstring, Members, std::less<>> types_;
};

// The automation state of one connection, shared by every wrapped object: the DISPID
// cache, and how deeply the host is inside the add-in's event handlers (work that must
// not happen inside one, such as tearing down the connection, waits until the outermost
// returns).
class Session {
public:
    DispidCache& dispids() noexcept { return dispids_; }

    class EventScope {
    public:
        explicit EventScope(Session& session) noexcept : session_(session) { ++session_.depth_; }
        EventScope(const EventScope&) = delete;
        EventScope& operator=(const EventScope&) = delete;
        ~EventScope() { session_.leave(); }

    private:
        Session& session_;
    };
    // Entered by every call from the host into the add-in.
    EventScope enter() noexcept { return EventScope(*this); }
    bool busy() const noexcept { return depth_ > 0; }
    // Runs `work` once the outermost call has returned, or now when there is none.
    void whenIdle(std::function<void()> work);

private:
    void leave() noexcept;

    DispidCache dispids_;
    int depth_ = 0;
    std::function<void()> idleWork_;
};

// One host object through IDispatch. Gets, puts and calls take positional arguments in
// the object model's order; an optional argument left out is `missing()`.
class Dispatch {
public:
    Dispatch(ComPtr<IDispatch> object, std::shared_ptr<Session> session);

    IDispatch* object() const noexcept { return object_.get(); }
    const std::shared_ptr<Session>& session() const noexcept { return session_; }

    // DISPATCH_PROPERTYGET, with the parameters of a parameterised property (Item).
    template <class... Args>
    Variant get(std::wstring_view name, Args&&... args) {
        Variant list[] = {Variant(), std::forward<Args>(args)...};
        return invoke(name, DISPATCH_PROPERTYGET, list + 1, sizeof...(Args));
    }
    // DISPATCH_METHOD | DISPATCH_PROPERTYGET, for members either way round.
    template <class... Args>
    Variant getOrCall(std::wstring_view name, Args&&... args) {
        Variant list[] = {Variant(), std::forward<Args>(args)...};
        return invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, list + 1, sizeof...(Args));
    }
    // DISPATCH_PROPERTYPUT of a value.
    void put(std::wstring_view name, Variant value);
    // DISPATCH_METHOD.
    template <class... Args>
    Variant call(std::wstring_view name, Args&&... args) {
        Variant list[] = {Variant(), std::forward<Args>(args)...};
        return invoke(name, DISPATCH_METHOD, list + 1, sizeof...(Args));
    }

    int32_t getInt(std::wstring_view name) { return toInt(*get(name).get()); }
    bool getBool(std::wstring_view name) { return toBool(*get(name).get()); }
    float getFloat(std::wstring_view name) { return toFloat(*get(name).get()); }
    double getDouble(std::wstring_view name) { return toDouble(*get(name).get()); }
    std::string getText(std::wstring_view name) { return toText(*get(name).get()); }
    ComPtr<IDispatch> getObject(std::wstring_view name) { return toObject(*get(name).get()); }

    // The object's type name from ITypeInfo ("Worksheet", "Range"; without the leading
    // underscore of a dispinterface such as "_Worksheet"); "Object" when the object
    // describes no type, as the classic runtime's TypeName says.
    std::string typeName();

private:
    Variant invoke(std::wstring_view name, WORD flags, Variant* args, size_t count);
    const std::wstring& typeKey();

    ComPtr<IDispatch> object_;
    std::shared_ptr<Session> session_;
    bool typeKnown_ = false;
    std::wstring typeKey_;
    DispidCache::Members own_;
};

// What every adapter of a host object is: a Dispatch, reachable from the host interface
// (the add-in passes its objects back as arguments: Sheets.Add After, Control.Copy Bar).
class Adapter {
public:
    explicit Adapter(Dispatch dispatch) : d_(std::move(dispatch)) {}
    virtual ~Adapter() = default;
    IDispatch* dispatch() const noexcept { return d_.object(); }

protected:
    Dispatch d_;
};

// The IDispatch behind a host object passed back by the add-in; null for null. An object
// that is not one of ours cannot be passed to the host: error 13.
template <class T>
IDispatch* dispatchOf(const std::shared_ptr<T>& object) {
    if (!object) return nullptr;
    if (auto* adapter = dynamic_cast<const Adapter*>(object.get())) return adapter->dispatch();
    host::raise(host::err::kTypeMismatch);
}

// Wraps a result object in adapter W; Nothing stays null.
template <class W>
std::shared_ptr<W> wrap(ComPtr<IDispatch> object, const std::shared_ptr<Session>& session) {
    if (!object) return nullptr;
    return std::make_shared<W>(Dispatch(std::move(object), session));
}

}  // namespace qm::com
