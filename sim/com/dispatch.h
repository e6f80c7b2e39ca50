// The base of every object of the fake Excel: reference counting that the tally sees,
// IDispatch over the shared member table (names, Invoke, errors as Excel reports them, a
// type name through GetTypeInfo), and the connection point of the objects that raise events.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/host/host.h"
#include "sim/com/call.h"
#include "sim/com/com_util.h"
#include "sim/com/members.h"
#include "sim/com/tally.h"

namespace qm::sim {
class SimHost;
}

namespace qm::fake {

// What every object of one fake Excel shares.
struct Context {
    explicit Context(sim::SimHost& h) : host(h) {}
    sim::SimHost& host;
    Tally tally;
    // Every sink advised and not unadvised, with its event interface: tests call them
    // directly as a misbehaving host would.
    std::vector<std::pair<IID, IDispatch*>> sinks;
};
using ContextPtr = std::shared_ptr<Context>;

// Event interfaces of Excel and Office.
// AppEvents {00024413-0000-0000-C000-000000000046}: SheetChange is DISPID 0x61C.
extern const IID kAppEvents;
// CommandBarsEvents {000C0352-0000-0000-C000-000000000046}: OnUpdate is DISPID 1.
extern const IID kCommandBarsEvents;
// CommandBarButtonEvents {000C0351-0000-0000-C000-000000000046}: Click is DISPID 1.
extern const IID kCommandBarButtonEvents;
inline constexpr DISPID kSheetChange = 0x61C;
inline constexpr DISPID kOnUpdate = 1;
inline constexpr DISPID kClick = 1;

// The HRESULT Excel reports for a host error: 0x800A0000 | number for the numbers of the
// classic runtime, the number itself when it already is an HRESULT.
HRESULT hresultOf(const host::HostError& e);

class DispatchObject;

// Objects are told apart from foreign IDispatch pointers through this interface, so that
// an argument such as Sheets.Add's After can be traced back to its host object.
extern const IID kFakeObjectIid;

// The one connection point of an object that raises events. Its references are those of
// its object, and every advised sink keeps the object alive until it is unadvised, as an
// event source of Office stays alive while it has clients.
class EventSource final : public IConnectionPoint {
public:
    EventSource(DispatchObject& owner, const IID& iid) : owner_(owner), iid_(iid) {}
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) noexcept override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) noexcept override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) noexcept override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) noexcept override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) noexcept override;

    size_t sinks() const { return advised_.size(); }

private:
    struct Advised {
        ComPtr<IDispatch> sink;
        host::Subscription subscription;
    };
    DispatchObject& owner_;
    IID iid_;
    std::map<DWORD, Advised> advised_;
    DWORD nextCookie_ = 1;
};

class DispatchObject : public IDispatch, public IConnectionPointContainer {
public:
    DispatchObject(ContextPtr context, std::string kind);
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;
    virtual ~DispatchObject();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) noexcept override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) noexcept override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) noexcept override;

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) noexcept override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) noexcept override;

    const std::string& kind() const { return kind_; }
    ContextPtr context() const { return context_; }
    // The IDispatch of this object, with a new reference.
    ComPtr<IDispatch> dispatch() { return ComPtr<IDispatch>(static_cast<IDispatch*>(this)); }

    // The Excel type name GetTypeInfo reports ("Worksheet", "CommandBarButton" ...).
    virtual std::string typeName() = 0;
    // Whether this object answers the member (unknown names are DISP_E_UNKNOWNNAME).
    virtual bool has(Member m) const = 0;
    // Runs the member; throws host::HostError or DispFailure.
    virtual void invoke(Member m, Call& call) = 0;

    // Objects that raise events: the event interface, and how a sink is connected to the
    // simulated host's event (the subscription ends the connection).
    virtual const IID* events() const { return nullptr; }
    virtual host::Subscription subscribe(const ComPtr<IDispatch>& sink);

private:
    ContextPtr context_;
    std::string kind_;
    ULONG references_ = 1;
    std::unique_ptr<EventSource> source_;
};

// The object behind an IDispatch of this fake Excel, as `T`; null for anything else.
template <class T>
T* fakeObject(IDispatch* dispatch) {
    if (!dispatch) return nullptr;
    DispatchObject* object = nullptr;
    if (FAILED(dispatch->QueryInterface(kFakeObjectIid, reinterpret_cast<void**>(&object))) || !object) return nullptr;
    object->Release();  // the caller holds `dispatch`, which keeps the object alive
    return dynamic_cast<T*>(object);
}

// Creates an object with its first reference owned by the result.
template <class T, class... A>
ComPtr<IDispatch> make(A&&... args) {
    return ComPtr<IDispatch>::adopt(static_cast<IDispatch*>(new T(std::forward<A>(args)...)));
}

// Calls a sink's event member; arguments in rgvarg order (last argument first).
void raiseEvent(Context& context, IDispatch* sink, DISPID id, VARIANT* args, UINT count);

}  // namespace qm::fake
