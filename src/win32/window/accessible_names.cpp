#include "win32/window/accessible_names.h"

#include <oleacc.h>
#include <wrl/client.h>

#include "win32/system/module.h"
#include "win32/system/owner.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {

// oleacc.dll and oleaut32.dll, loaded from System32 at run time (neither is imported: oleacc
// is no KnownDLL, and both would slow every start). The objects handed to screen readers share
// them, so that no object outlives the code it calls.
class AccessibilityLibrary {
 public:
  using CreateStandard = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using ResultFromObject = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  using AllocateString = BSTR(WINAPI*)(const OLECHAR*);

  AccessibilityLibrary()
      : oleaut32(LoadSystemLibrary(L"oleaut32.dll")),
        oleacc(LoadSystemLibrary(L"oleacc.dll")),
        create_standard(Required<CreateStandard>(oleacc, "CreateStdAccessibleObject")),
        result_from_object(Required<ResultFromObject>(oleacc, "LresultFromObject")),
        allocate_string(Required<AllocateString>(oleaut32, "SysAllocString")) {}

  template <class Function>
  static Function Required(const UniqueModule& module, const char* name) {
    const auto function = ProcAddress<Function>(module.Get(), name);
    if (!function) ThrowWin32Error(ERROR_PROC_NOT_FOUND);
    return function;
  }

  UniqueModule oleaut32;
  UniqueModule oleacc;
  CreateStandard create_standard;
  ResultFromObject result_from_object;
  AllocateString allocate_string;
};

namespace {

// The system's accessible object of a control, under another name. Everything else is the
// system object's own answer.
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(std::shared_ptr<const AccessibilityLibrary> library,
                  Microsoft::WRL::ComPtr<IAccessible> standard, std::wstring name)
      : library_(std::move(library)), standard_(std::move(standard)), name_(std::move(name)) {}

  // IUnknown. The children (IEnumVARIANT) and the window (IOleWindow) are the system object's,
  // handed out as they are: what a screen reader asks of the control itself (IAccessible) comes
  // here, and gets the name.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    if (iid == __uuidof(IEnumVARIANT) || iid == __uuidof(IOleWindow)) {
      return standard_->QueryInterface(iid, object);
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  // IDispatch
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
                                   UINT* argument_error) override {
    return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, argument_error);
  }

  // IAccessible: the control's own name; its rows keep theirs.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) {
      return standard_->get_accName(child, name);
    }
    if (!name) return E_POINTER;
    *name = library_->allocate_string(name_.c_str());
    return *name ? S_OK : E_OUTOFMEMORY;
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
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return standard_->get_accDescription(child, description);
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
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return standard_->get_accFocus(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return standard_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
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
  ~NamedAccessible() = default;

  // Declared first, gone last: the system object's code lives in the library.
  std::shared_ptr<const AccessibilityLibrary> library_;
  Microsoft::WRL::ComPtr<IAccessible> standard_;
  std::wstring name_;
  LONG references_ = 1;
};

}  // namespace

AccessibleNames::AccessibleNames() = default;
AccessibleNames::~AccessibleNames() = default;

LRESULT AccessibleNames::Answer(HWND control, WPARAM wparam, LPARAM lparam,
                                const std::wstring& name) {
  // The object id is a 32-bit value however wide lParam is.
  if (static_cast<LONG>(static_cast<DWORD>(lparam)) != OBJID_CLIENT) return 0;
  if (!library_) library_ = std::make_shared<const AccessibilityLibrary>();
  if (!com_) com_.emplace();
  Microsoft::WRL::ComPtr<IAccessible> standard;
  CheckHresult(library_->create_standard(control, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(standard.GetAddressOf())));
  Microsoft::WRL::ComPtr<IAccessible> named;
  named.Attach(new NamedAccessible(library_, std::move(standard), name));
  // A reference for the caller, marshalled to its process; negative values are errors.
  const LRESULT result = library_->result_from_object(__uuidof(IAccessible), wparam, named.Get());
  if (result < 0) ThrowHresult(static_cast<HRESULT>(result));
  return result;
}

}  // namespace zelvo::win32
