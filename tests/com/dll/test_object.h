// A tiny scriptable IDispatch for the adapter's tests: named members with fixed DISPIDs,
// a type name through ITypeInfo (or none), counted GetIDsOfNames calls, recorded Invoke
// calls, a reference count to check, and one connection point that events are fired
// through.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "com/owners.h"

#include <ocidl.h>

namespace qm::com::test {

// One Invoke as the object saw it; arguments in declaration order, copied.
struct RecordedCall {
    DISPID member = 0;
    WORD flags = 0;
    std::vector<std::shared_ptr<Variant>> args;
    std::vector<DISPID> named;
};

class TestObject final : public IDispatch, public IConnectionPointContainer, public IConnectionPoint {
public:
    // `typeName` empty: GetTypeInfo fails. `lookups` counts GetIDsOfNames over all the
    // objects that share it.
    TestObject(std::wstring typeName, std::map<std::wstring, DISPID> members, std::shared_ptr<int> lookups);

    // What Invoke does after recording the call: fill `result` and return the HRESULT.
    std::function<HRESULT(const RecordedCall& call, VARIANT* result, EXCEPINFO* info)> onInvoke;
    // The event interface the connection point serves (IID_NULL: no connection points).
    IID events = IID_NULL;

    std::vector<RecordedCall> calls;
    ULONG references() const { return references_; }
    IDispatch* sink() const { return sink_.get(); }
    // Calls the advised sink's Invoke with `args` in declaration order.
    HRESULT fire(DISPID member, std::vector<VARIANT> args);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* info, UINT* badArgument) override;
    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;
    // IConnectionPoint: one sink at a time.
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

    int advises = 0;
    int unadvises = 0;

private:
    ULONG references_ = 1;
    std::wstring typeName_;
    std::map<std::wstring, DISPID> members_;
    std::shared_ptr<int> lookups_;
    ComPtr<IDispatch> sink_;
};

// A new object owned by the returned pointer.
inline ComPtr<TestObject> makeObject(std::wstring typeName, std::map<std::wstring, DISPID> members,
                                     std::shared_ptr<int> lookups = std::make_shared<int>(0)) {
    return ComPtr<TestObject>::adopt(new TestObject(std::move(typeName), std::move(members), std::move(lookups)));
}

// An EXCEPINFO failure as Excel reports one.
HRESULT failWith(EXCEPINFO* info, HRESULT scode, const wchar_t* description, WORD wCode = 0);

}  // namespace qm::com::test
