// Late-bound calls and the DISPID cache.
#include "com/dispatch.h"

#include <vector>

#include "com/errors.h"

namespace qm::com {

DISPID DispidCache::resolve(IDispatch* object, std::wstring_view typeName, Members& own, std::wstring_view name) {
    Members& members = typeName.empty() ? own : [&]() -> Members& {
        auto type = types_.find(typeName);
        if (type == types_.end()) type = types_.emplace(std::wstring(typeName), Members{}).first;
        return type->second;
    }();
    if (auto known = members.find(name); known != members.end()) {
        if (known->second == DISPID_UNKNOWN) host::raise(host::err::kNotSupported);
        return known->second;
    }
    std::wstring text(name);
    LPOLESTR names[] = {text.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, kCallLocale, &id);
    if (hr == DISP_E_UNKNOWNNAME || hr == DISP_E_MEMBERNOTFOUND) {
        // A type's members do not change: the next call on this type fails at once.
        members.emplace(std::move(text), DISPID_UNKNOWN);
        host::raise(host::err::kNotSupported);
    }
    if (FAILED(hr)) raiseHresult(hr);
    members.emplace(std::move(text), id);
    return id;
}

void Session::whenIdle(std::function<void()> work) {
    if (depth_ == 0) {
        work();
        return;
    }
    idleWork_ = std::move(work);
}

void Session::leave() noexcept {
    if (--depth_ > 0 || !idleWork_) return;
    auto work = std::exchange(idleWork_, {});
    try {
        work();
    } catch (...) {
        // Deferred work is clean-up; its own failures have nowhere to go.
    }
}

Dispatch::Dispatch(ComPtr<IDispatch> object, std::shared_ptr<Session> session)
    : object_(std::move(object)), session_(std::move(session)) {}

const std::wstring& Dispatch::typeKey() {
    if (typeKnown_) return typeKey_;
    typeKnown_ = true;
    ComPtr<ITypeInfo> info;
    if (SUCCEEDED(object_->GetTypeInfo(0, kCallLocale, info.put())) && info) {
        BSTR name = nullptr;
        if (SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr))) {
            UniqueBstr owner(name);
            if (name) typeKey_.assign(name, ::SysStringLen(name));
        }
    }
    return typeKey_;
}

std::string Dispatch::typeName() {
    if (!object_) host::raise(host::err::kObjectNotSet);
    const std::wstring& key = typeKey();
    if (key.empty()) return "Object";
    // The dispinterface of a class is its name behind an underscore ("_Worksheet"); the
    // type name the user knows is the class's.
    return win32::toUtf8(key[0] == L'_' && key.size() > 1 ? std::wstring_view(key).substr(1) : key);
}

void Dispatch::put(std::wstring_view name, Variant value) {
    invoke(name, DISPATCH_PROPERTYPUT, &value, 1);
}

Variant Dispatch::invoke(std::wstring_view name, WORD flags, Variant* args, size_t count) {
    if (!object_) host::raise(host::err::kObjectNotSet);
    const DISPID id = session_->dispids().resolve(object_.get(), typeKey(), own_, name);

    // IDispatch takes the arguments last first. The copies are shallow: `args` keeps
    // ownership.
    std::vector<VARIANT> reversed(count);
    for (size_t i = 0; i < count; ++i) reversed[count - 1 - i] = *args[i].get();
    DISPID putId = DISPID_PROPERTYPUT;
    const bool isPut = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), isPut ? &putId : nullptr, static_cast<UINT>(count), isPut ? 1u : 0u};

    Variant result;
    EXCEPINFO info{};
    UINT badArgument = 0;
    HRESULT hr = object_->Invoke(id, IID_NULL, kCallLocale, flags, &params, isPut ? nullptr : result.put(), &info,
                                 &badArgument);
    if (FAILED(hr)) throw errorFromInvoke(hr, &info);
    return result;
}

}  // namespace qm::com
