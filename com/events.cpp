// Connection-point event sinks.
#include "com/events.h"

#include "com/errors.h"

#include <ocidl.h>

namespace qm::com {

namespace {

inline constexpr int32_t kNoEvents = 459;  // object or class does not support the set of events

// An Advise cookie: Unadvise'd when it goes.
class ConnectionCookie {
public:
    ConnectionCookie(ComPtr<IConnectionPoint> point, DWORD cookie) : point_(std::move(point)), cookie_(cookie) {}
    ConnectionCookie(const ConnectionCookie&) = delete;
    ConnectionCookie& operator=(const ConnectionCookie&) = delete;
    ~ConnectionCookie() {
        // A source that has gone already (the host shutting down) has nothing to undo.
        if (point_) point_->Unadvise(cookie_);
    }

private:
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_;
};

}  // namespace

EventSink::EventSink(const IID& events, std::shared_ptr<Session> session, EventHandler handler)
    : events_(events), session_(std::move(session)),
      handler_(std::make_shared<EventHandler>(std::move(handler))) {}

HRESULT EventSink::QueryInterface(REFIID iid, void** out) noexcept {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == events_) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG EventSink::AddRef() noexcept { return ++references_; }

ULONG EventSink::Release() noexcept {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT EventSink::GetTypeInfoCount(UINT* count) noexcept {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept { return E_NOTIMPL; }

HRESULT EventSink::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                          UINT*) noexcept {
    if (result) ::VariantInit(result);
    // The handler may drop the subscription, whose source then releases this sink.
    ComPtr<EventSink> self = ComPtr<EventSink>::share(this);
    return guardedInvoke("Quillmark in Excel", info, [&] {
        std::shared_ptr<EventHandler> handler = handler_;
        if (!handler || !params) return S_OK;
        auto scope = session_->enter();
        (*handler)(member, *params);
        return S_OK;
    });
}

void EventSink::detach() noexcept { handler_.reset(); }

host::Subscription advise(const Dispatch& source, const IID& events, EventHandler handler) {
    if (!source.object()) host::raise(host::err::kObjectNotSet);
    auto container = ComPtr<IDispatch>::share(source.object()).query<IConnectionPointContainer>();
    ComPtr<IConnectionPoint> point;
    if (!container || FAILED(container->FindConnectionPoint(events, point.put())) || !point)
        throw host::HostError(kNoEvents, "Object or class does not support the set of events");

    auto sink = ComPtr<EventSink>::adopt(new EventSink(events, source.session(), std::move(handler)));
    DWORD cookie = 0;
    HRESULT hr = point->Advise(sink.get(), &cookie);
    if (FAILED(hr)) {
        sink->detach();
        raiseHresult(hr);
    }
    auto connection = std::make_shared<ConnectionCookie>(std::move(point), cookie);
    return host::Subscription([connection = std::move(connection), sink = std::move(sink)]() mutable {
        sink->detach();
        connection.reset();
    });
}

VARIANT* eventArgument(DISPPARAMS& params, UINT position) {
    if (position >= params.cArgs || !params.rgvarg) return nullptr;
    return &params.rgvarg[params.cArgs - 1 - position];
}

}  // namespace qm::com
