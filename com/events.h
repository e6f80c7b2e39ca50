// Events of the host's objects through connection points: a sink object answering the
// event interface, Advise'd when the add-in subscribes and Unadvise'd when the
// subscription goes.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "com/dispatch.h"
#include "core/host/subscription.h"

namespace qm::com {

// The dispinterfaces of the events the add-in handles.
// Application events (SheetChange is DISPID 0x61C: Sh, Target).
inline constexpr IID kAppEvents = {0x00024413, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID kSheetChange = 0x61C;
// CommandBars events (OnUpdate is DISPID 1, no arguments).
inline constexpr IID kCommandBarsEvents = {0x000C0352, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID kOnUpdate = 1;
// CommandBarButton events (Click is DISPID 1: Ctrl, CancelDefault by reference).
inline constexpr IID kCommandBarButtonEvents = {0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID kClick = 1;

// Handles one event call: the DISPID and the arguments as the source sent them (last
// first). Events the handler does not know are ignored by it.
using EventHandler = std::function<void(DISPID member, DISPPARAMS& params)>;

// The sink: IUnknown, IDispatch and the event interface. Invoke keeps the sink alive for
// its whole length, since the handler may unsubscribe (the add-in lets go of a button
// variable inside that button's Click).
class EventSink final : public IDispatch {
public:
    EventSink(const IID& events, std::shared_ptr<Session> session, EventHandler handler);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT* badArgument) noexcept override;

    // No event reaches the handler any more, even one already on its way.
    void detach() noexcept;

private:
    ~EventSink() = default;

    std::atomic<ULONG> references_{1};
    IID events_;
    std::shared_ptr<Session> session_;
    std::shared_ptr<EventHandler> handler_;
};

// Advise on `source`'s connection point for `events`; the subscription Unadvises. A
// source without that connection point throws the HostError of the failure.
host::Subscription advise(const Dispatch& source, const IID& events, EventHandler handler);

// The argument at `position` (0 is the first the event declares) of an event call.
VARIANT* eventArgument(DISPPARAMS& params, UINT position);

}  // namespace qm::com
