#include "ui/accessible_name.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>

#include "ui/platform.h"

namespace zelvaran::ui {
namespace {

// oleacc.dll is not one of the DLLs Windows always maps from System32, so a static import would
// be looked for beside the exe first. It is loaded from System32 alone, the first time a screen
// reader asks, and stays loaded: objects handed out may live in a reader as long as it likes.
struct Oleacc {
    using CreateStandard = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    using ResultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    CreateStandard Create = nullptr;
    ResultFromObject Result = nullptr;
};

const Oleacc& LoadOleacc() noexcept {
    static const Oleacc loaded = [] {
        Oleacc functions;
        if (HMODULE module = LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            functions.Create = reinterpret_cast<Oleacc::CreateStandard>(
                reinterpret_cast<void*>(GetProcAddress(module, "CreateStdAccessibleObject")));
            functions.Result = reinterpret_cast<Oleacc::ResultFromObject>(
                reinterpret_cast<void*>(GetProcAddress(module, "LresultFromObject")));
        }
        return functions;
    }();
    return loaded;
}

// Written out: MinGW's oleacc import library brings IID_IAccessible in as an import thunk.
constexpr IID kIidAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

[[nodiscard]] bool IsSelf(const VARIANT& child) noexcept {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's own object for the control, with another name for the control itself. Everything
// else, children included, is the standard object's answer.
class NamedAccessible final : public IAccessible {
public:
    // Takes over the caller's reference to `standard`.
    NamedAccessible(IAccessible* standard, const wchar_t* name) noexcept
        : standard_(standard), name_(name) {}
    NamedAccessible(const NamedAccessible&) = delete;
    NamedAccessible& operator=(const NamedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) {
            return E_POINTER;
        }
        // Nothing else: handing out the standard object's other interfaces (IMarshal above all)
        // would give a reader in another process the standard object, without the name.
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, kIidAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override {
        return standard_->Invoke(id, iid, locale, flags, parameters, result, exception,
                                 badArgument);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) {
            return standard_->get_accName(child, name);
        }
        if (name == nullptr) {
            return E_POINTER;
        }
        *name = SysAllocString(name_);
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return standard_->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override {
        return standard_->accSelect(how, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() { standard_->Release(); }

    IAccessible* standard_;
    const wchar_t* name_;
    LONG references_ = 1;
};

// The answer to WM_GETOBJECT for the control's client object; 0 lets the system answer instead.
[[nodiscard]] LRESULT AnswerWithName(HWND control, WPARAM flags, const wchar_t* name) noexcept {
    const Oleacc& oleacc = LoadOleacc();
    if (oleacc.Create == nullptr || oleacc.Result == nullptr) {
        return 0;
    }
    IAccessible* standard = nullptr;
    if (FAILED(oleacc.Create(control, OBJID_CLIENT, kIidAccessible,
                             reinterpret_cast<void**>(&standard))) ||
        standard == nullptr) {
        return 0;
    }
    auto* named = new (std::nothrow) NamedAccessible(standard, name);
    if (named == nullptr) {
        standard->Release();
        return 0;
    }
    // A result holds a reference of its own; ours goes either way. A failure gives the reader
    // the system's object rather than none.
    const LRESULT result = oleacc.Result(kIidAccessible, flags, named);
    named->Release();
    return FAILED(static_cast<HRESULT>(result)) ? 0 : result;
}

// How a control was named: by annotation, which the control only clears as it goes, or by its own
// answers to WM_GETOBJECT where annotation failed.
constexpr UINT_PTR kAnnotated = 1;
constexpr UINT_PTR kAnswering = 2;

LRESULT CALLBACK NamedControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR name) noexcept {
    switch (msg) {
    case WM_DESTROY:
        if (id == kAnnotated) {
            CurrentPlatform().ClearAnnotatedName(hwnd);
        }
        break;
    case WM_GETOBJECT:
        // The object id comes as a 32-bit value, whatever the width of lParam.
        if (id == kAnswering && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT) {
            if (const LRESULT answer =
                    AnswerWithName(hwnd, wParam, reinterpret_cast<const wchar_t*>(name))) {
                return answer;
            }
        }
        break;
    case WM_NCDESTROY:
        // The window is going; a failure leaves nothing to clean up beyond it.
        static_cast<void>(RemoveWindowSubclass(hwnd, &NamedControlProc, id));
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

} // namespace

bool SetAccessibleName(HWND control, const wchar_t* name) noexcept {
    if (control == nullptr || name == nullptr) {
        return false;
    }
    const UINT_PTR how =
        SUCCEEDED(CurrentPlatform().AnnotateName(control, name)) ? kAnnotated : kAnswering;
    return SetWindowSubclass(control, &NamedControlProc, how, reinterpret_cast<DWORD_PTR>(name)) !=
           FALSE;
}

} // namespace zelvaran::ui
