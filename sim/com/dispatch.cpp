// IDispatch, type names and connection points of the fake Excel's objects.
#include "sim/com/dispatch.h"

#include <exception>

#include "core/platform/platform.h"

namespace qm::fake {

// {00024413-0000-0000-C000-000000000046}
const IID kAppEvents = {0x00024413, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {000C0352-0000-0000-C000-000000000046}
const IID kCommandBarsEvents = {0x000C0352, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {000C0351-0000-0000-C000-000000000046}
const IID kCommandBarButtonEvents = {0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {8D3B6E1A-52C4-4F7E-9A0B-3C6E2F41D5A7}: private to this fake.
const IID kFakeObjectIid = {0x8D3B6E1A, 0x52C4, 0x4F7E, {0x9A, 0x0B, 0x3C, 0x6E, 0x2F, 0x41, 0xD5, 0xA7}};

namespace {

constexpr const wchar_t* kErrorSource = L"Microsoft Office Excel";

void fillException(EXCEPINFO* info, HRESULT scode, const std::string& description) {
    if (!info) return;
    *info = EXCEPINFO{};
    info->scode = scode;
    info->bstrSource = ::SysAllocString(kErrorSource);
    info->bstrDescription = Bstr(std::string_view(description)).detach();
}

// A GUID of the type, stable for its name, for clients that key caches by TYPEATTR.
GUID guidOfName(const std::string& name) {
    uint32_t h = 2166136261u;
    for (unsigned char c : name) h = (h ^ c) * 16777619u;
    GUID g{h, 0x51A7, 0x4E11, {0x8F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}};
    for (size_t i = 0; i < name.size() && i < 6; ++i) g.Data4[2 + i] = static_cast<unsigned char>(name[i]);
    return g;
}

// The type information of one object: its name and members, nothing more. Enough for a
// client that asks what kind of object it holds.
class TypeInfo final : public ITypeInfo {
public:
    TypeInfo(ContextPtr context, std::string name) : context_(std::move(context)), name_(std::move(name)) {
        Tally& t = context_->tally;
        ++t.liveObjects;
        ++t.liveReferences;
        ++t.liveByKind["TypeInfo"];
        ++t.objectsCreated;
    }
    TypeInfo(const TypeInfo&) = delete;
    TypeInfo& operator=(const TypeInfo&) = delete;
    ~TypeInfo() {
        Tally& t = context_->tally;
        --t.liveObjects;
        --t.liveByKind["TypeInfo"];
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) noexcept override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (riid != IID_IUnknown && riid != IID_ITypeInfo) return E_NOINTERFACE;
        *out = static_cast<ITypeInfo*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override {
        ++context_->tally.liveReferences;
        return ++references_;
    }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        --context_->tally.liveReferences;
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** out) noexcept override {
        if (!out) return E_POINTER;
        auto* attr = new (std::nothrow) TYPEATTR{};
        if (!attr) return E_OUTOFMEMORY;
        attr->guid = guidOfName(name_);
        attr->lcid = LOCALE_NEUTRAL;
        attr->memidConstructor = MEMBERID_NIL;
        attr->memidDestructor = MEMBERID_NIL;
        attr->typekind = TKIND_DISPATCH;
        attr->cbSizeInstance = sizeof(void*);
        attr->cbAlignment = alignof(void*);
        attr->wTypeFlags = TYPEFLAG_FDISPATCHABLE;
        *out = attr;
        return S_OK;
    }
    void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR* attr) noexcept override { delete attr; }

    HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* context,
                                               BSTR* helpFile) noexcept override {
        if (doc) *doc = nullptr;
        if (context) *context = 0;
        if (helpFile) *helpFile = nullptr;
        std::string text;
        if (id == MEMBERID_NIL) {
            text = name_;
        } else if (auto m = memberById(id)) {
            text = memberName(*m);
        } else {
            if (name) *name = nullptr;
            return TYPE_E_ELEMENTNOTFOUND;
        }
        if (name) *name = Bstr(std::string_view(text)).detach();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) noexcept override {
        if (!names || !ids || count == 0) return E_INVALIDARG;
        Tally& t = context_->tally;
        ++t.nameLookups;
        ++t.nameLookupsByName[name_ + "." + win32::toUtf8(names[0] ? names[0] : L"")];
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            auto m = i == 0 && names[i] ? memberByName(names[i]) : std::nullopt;
            ids[i] = m ? static_cast<MEMBERID>(*m) : MEMBERID_NIL;
            if (!m) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }

    HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT, FUNCDESC**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNames(MEMBERID, BSTR*, UINT, UINT*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT, HREFTYPE*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT, INT*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE, ITypeInfo**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, PVOID*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib**, UINT*) noexcept override { return E_NOTIMPL; }
    void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC*) noexcept override {}
    void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) noexcept override {}

private:
    ContextPtr context_;
    std::string name_;
    ULONG references_ = 1;
};

}  // namespace

HRESULT hresultOf(const host::HostError& e) {
    const int32_t n = e.number();
    if (n >= 0 && n < 65536) return static_cast<HRESULT>(0x800A0000u | static_cast<uint32_t>(n));
    return static_cast<HRESULT>(n);
}

// ---------------------------------------------------------------- DispatchObject

DispatchObject::DispatchObject(ContextPtr context, std::string kind)
    : context_(std::move(context)), kind_(std::move(kind)) {
    Tally& t = context_->tally;
    ++t.liveObjects;
    ++t.liveReferences;
    ++t.liveByKind[kind_];
    ++t.objectsCreated;
}

DispatchObject::~DispatchObject() {
    Tally& t = context_->tally;
    --t.liveObjects;
    --t.liveByKind[kind_];
}

HRESULT DispatchObject::QueryInterface(REFIID riid, void** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
    } else if (riid == IID_IConnectionPointContainer && events()) {
        *out = static_cast<IConnectionPointContainer*>(this);
    } else if (riid == kFakeObjectIid) {
        *out = this;
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG DispatchObject::AddRef() noexcept {
    ++context_->tally.liveReferences;
    return ++references_;
}

ULONG DispatchObject::Release() noexcept {
    --context_->tally.liveReferences;
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) noexcept {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ++context_->tally.typeInfoRequests;
    try {
        *out = new TypeInfo(context_, typeName());
        return S_OK;
    } catch (const host::HostError& e) {
        return hresultOf(e);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT DispatchObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || count == 0) return E_INVALIDARG;
    Tally& t = context_->tally;
    ++t.nameLookups;
    const auto m = names[0] ? memberByName(names[0]) : std::nullopt;
    const bool known = m && has(*m);
    try {
        const std::string name = kind_ + "." + win32::toUtf8(names[0] ? names[0] : L"");
        ++t.nameLookupsByName[name];
        if (!known) ++t.unknownNames[name];
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    ids[0] = known ? static_cast<DISPID>(*m) : DISPID_UNKNOWN;
    // No member here takes named arguments.
    for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return known && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* excepInfo, UINT* argErr) noexcept {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    // Keeps this object alive while a member runs, even if the client lets go of it in an
    // event raised from inside.
    ComPtr<IDispatch> self(static_cast<IDispatch*>(this));
    const auto m = memberById(id);
    Tally& t = context_->tally;
    ++t.invokes;
    std::string name;
    try {
        name = kind_ + "." + (m ? std::string(memberName(*m)) : "#" + std::to_string(id));
        if (flags & DISPATCH_PROPERTYPUT) name += "=";
        ++t.invokesByName[name];
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    if (!m || !has(*m)) {
        ++t.refusedInvokes[name];
        return DISP_E_MEMBERNOTFOUND;
    }
    DISPPARAMS noArgs{nullptr, nullptr, 0, 0};
    if (result) ::VariantInit(result);
    try {
        Call call(flags, params ? *params : noArgs, result);
        invoke(*m, call);
        return S_OK;
    } catch (const DispFailure& f) {
        if (argErr && f.argument) *argErr = *f.argument;
        ++t.refusedInvokes[name];
        return f.hr;
    } catch (const host::HostError& e) {
        fillException(excepInfo, hresultOf(e), e.description());
    } catch (const std::exception& e) {
        fillException(excepInfo, E_FAIL, e.what());
    } catch (...) {
        fillException(excepInfo, E_UNEXPECTED, "Catastrophic failure");
    }
    if (result) ::VariantClear(result);
    return DISP_E_EXCEPTION;
}

HRESULT DispatchObject::EnumConnectionPoints(IEnumConnectionPoints** out) noexcept {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

HRESULT DispatchObject::FindConnectionPoint(REFIID riid, IConnectionPoint** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    const IID* iid = events();
    if (!iid || riid != *iid) return CONNECT_E_NOCONNECTION;
    if (!source_) {
        source_.reset(new (std::nothrow) EventSource(*this, *iid));
        if (!source_) return E_OUTOFMEMORY;
    }
    *out = source_.get();
    AddRef();
    return S_OK;
}

host::Subscription DispatchObject::subscribe(const ComPtr<IDispatch>&) {
    throw host::HostError(host::err::kNotSupported, "Object doesn't support this property or method");
}

// ---------------------------------------------------------------- EventSource

HRESULT EventSource::QueryInterface(REFIID riid, void** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid != IID_IUnknown && riid != IID_IConnectionPoint) return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

ULONG EventSource::AddRef() noexcept { return owner_.AddRef(); }

ULONG EventSource::Release() noexcept { return owner_.Release(); }

HRESULT EventSource::GetConnectionInterface(IID* iid) noexcept {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

HRESULT EventSource::GetConnectionPointContainer(IConnectionPointContainer** out) noexcept {
    if (!out) return E_POINTER;
    *out = static_cast<IConnectionPointContainer*>(&owner_);
    owner_.AddRef();
    return S_OK;
}

HRESULT EventSource::Advise(IUnknown* sink, DWORD* cookie) noexcept {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    // Office asks the sink for the event interface itself; a sink that does not answer it
    // cannot connect.
    ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(dispatch.put()))) || !dispatch) {
        return CONNECT_E_CANNOTCONNECT;
    }
    try {
        Advised advised{dispatch, owner_.subscribe(dispatch)};
        const DWORD c = nextCookie_++;
        advised_.emplace(c, std::move(advised));
        *cookie = c;
    } catch (const host::HostError& e) {
        return hresultOf(e);
    } catch (...) {
        return CONNECT_E_CANNOTCONNECT;
    }
    ++owner_.context()->tally.liveAdvises;
    owner_.context()->sinks.emplace_back(iid_, dispatch.get());
    owner_.AddRef();
    return S_OK;
}

HRESULT EventSource::Unadvise(DWORD cookie) noexcept {
    auto it = advised_.find(cookie);
    if (it == advised_.end()) return CONNECT_E_NOCONNECTION;
    Advised gone = std::move(it->second);
    advised_.erase(it);
    auto& sinks = owner_.context()->sinks;
    for (auto s = sinks.begin(); s != sinks.end(); ++s) {
        if (s->second == gone.sink.get()) {
            sinks.erase(s);
            break;
        }
    }
    gone.subscription.reset();
    gone.sink.reset();
    --owner_.context()->tally.liveAdvises;
    // Last: the reference the connection held may be the object's last.
    owner_.Release();
    return S_OK;
}

HRESULT EventSource::EnumConnections(IEnumConnections** out) noexcept {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

// ---------------------------------------------------------------- events

void raiseEvent(Context& context, IDispatch* sink, DISPID id, VARIANT* args, UINT count) {
    ++context.tally.eventsRaised;
    DISPPARAMS params{args, nullptr, count, 0};
    EXCEPINFO info{};
    UINT argErr = 0;
    const HRESULT hr = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &info, &argErr);
    if (FAILED(hr)) ++context.tally.eventFailures;
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
}

}  // namespace qm::fake
