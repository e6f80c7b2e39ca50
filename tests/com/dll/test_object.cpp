// The adapter tests' scriptable IDispatch.
#include "tests/com/dll/test_object.h"

#include <cwchar>

#include <olectl.h>

namespace qm::com::test {

namespace {

// An ITypeInfo that knows only its own name, which is all the adapter asks of it.
class NamedTypeInfo final : public ITypeInfo {
public:
    explicit NamedTypeInfo(std::wstring name) : name_(std::move(name)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_ITypeInfo) {
            *out = static_cast<ITypeInfo*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* context,
                                               BSTR* helpFile) override {
        if (id != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
        if (name) *name = ::SysAllocString(name_.c_str());
        if (doc) *doc = nullptr;
        if (context) *context = 0;
        if (helpFile) *helpFile = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT, FUNCDESC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNames(MEMBERID, BSTR*, UINT, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT, HREFTYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT, INT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, PVOID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
    void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR*) override {}
    void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC*) override {}
    void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) override {}

private:
    ~NamedTypeInfo() = default;
    ULONG references_ = 1;
    std::wstring name_;
};

}  // namespace

TestObject::TestObject(std::wstring typeName, std::map<std::wstring, DISPID> members, std::shared_ptr<int> lookups)
    : typeName_(std::move(typeName)), members_(std::move(members)), lookups_(std::move(lookups)) {}

ULONG TestObject::Release() {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT TestObject::QueryInterface(REFIID iid, void** out) {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
    } else if (iid == IID_IConnectionPointContainer && events != IID_NULL) {
        *out = static_cast<IConnectionPointContainer*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT TestObject::GetTypeInfoCount(UINT* count) {
    *count = typeName_.empty() ? 0 : 1;
    return S_OK;
}

HRESULT TestObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    *info = nullptr;
    if (typeName_.empty() || index != 0) return DISP_E_BADINDEX;
    *info = new NamedTypeInfo(typeName_);
    return S_OK;
}

HRESULT TestObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    ++*lookups_;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        auto found = members_.find(names[i]);
        ids[i] = found == members_.end() ? DISPID_UNKNOWN : found->second;
        if (found == members_.end()) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT TestObject::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* info, UINT*) {
    RecordedCall call;
    call.member = member;
    call.flags = flags;
    for (UINT i = params->cArgs; i-- > 0;) {
        auto copy = std::make_shared<Variant>();
        ::VariantCopy(copy->get(), &params->rgvarg[i]);
        call.args.push_back(std::move(copy));
    }
    call.named.assign(params->rgdispidNamedArgs, params->rgdispidNamedArgs + params->cNamedArgs);
    calls.push_back(call);
    if (result) ::VariantInit(result);
    if (!onInvoke) return S_OK;
    return onInvoke(call, result, info);
}

HRESULT TestObject::EnumConnectionPoints(IEnumConnectionPoints** out) {
    *out = nullptr;
    return E_NOTIMPL;
}

HRESULT TestObject::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    *out = nullptr;
    if (iid != events) return CONNECT_E_NOCONNECTION;
    *out = this;
    AddRef();
    return S_OK;
}

HRESULT TestObject::GetConnectionInterface(IID* iid) {
    *iid = events;
    return S_OK;
}

HRESULT TestObject::GetConnectionPointContainer(IConnectionPointContainer** out) {
    *out = this;
    AddRef();
    return S_OK;
}

HRESULT TestObject::Advise(IUnknown* sink, DWORD* cookie) {
    if (sink_) return CONNECT_E_ADVISELIMIT;
    // A source asks the sink for the event interface, as Office does.
    ComPtr<IUnknown> events;
    if (FAILED(sink->QueryInterface(this->events, events.putVoid()))) return CONNECT_E_CANNOTCONNECT;
    sink_ = ComPtr<IUnknown>::share(sink).query<IDispatch>();
    ++advises;
    *cookie = 42;
    return S_OK;
}

HRESULT TestObject::Unadvise(DWORD cookie) {
    if (cookie != 42 || !sink_) return CONNECT_E_NOCONNECTION;
    ++unadvises;
    sink_.reset();
    return S_OK;
}

HRESULT TestObject::EnumConnections(IEnumConnections** out) {
    *out = nullptr;
    return E_NOTIMPL;
}

HRESULT TestObject::fire(DISPID member, std::vector<VARIANT> args) {
    if (!sink_) return CONNECT_E_NOCONNECTION;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    // Hold the sink as a source does while it calls.
    ComPtr<IDispatch> sink = sink_;
    return sink->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

HRESULT failWith(EXCEPINFO* info, HRESULT scode, const wchar_t* description, WORD wCode) {
    if (!info) return DISP_E_EXCEPTION;
    *info = EXCEPINFO{};
    info->wCode = wCode;
    info->scode = wCode ? 0 : scode;
    info->bstrSource = ::SysAllocString(L"Microsoft Office Excel");
    info->bstrDescription = description ? ::SysAllocString(description) : nullptr;
    return DISP_E_EXCEPTION;
}

}  // namespace qm::com::test
