#include "accessible.h"

#include "formview.h"
#include "mapping.h"
#include "system_library.h"

#include "toolkit/accessibility.h"

#include <oleacc.h>

#include <string>

namespace w32 {
namespace {

// The interface's own id: oleacc.dll exports IID_IAccessible as data.
const IID accessibleInterface = __uuidof(IAccessible);

// oleacc.dll and oleaut32.dll are loaded when a screen reader first asks for a control:
// a program nobody reads starts sooner and smaller without them.
struct Oleacc {
  decltype(CreateStdAccessibleObject) *createStandard = nullptr;
  decltype(LresultFromObject) *resultFrom = nullptr;
  decltype(SysAllocStringLen) *allocString = nullptr;

  [[nodiscard]] bool loaded() const {
    return createStandard != nullptr && resultFrom != nullptr && allocString != nullptr;
  }
};

const Oleacc &oleacc() {
  static const Oleacc functions = [] {
    Oleacc found;
    if (HMODULE dll = systemLibrary(L"oleacc.dll")) {
      found.createStandard =
          exported<decltype(CreateStdAccessibleObject)>(dll, "CreateStdAccessibleObject");
      found.resultFrom = exported<decltype(LresultFromObject)>(dll, "LresultFromObject");
    }
    if (HMODULE dll = systemLibrary(L"oleaut32.dll")) {
      found.allocString = exported<decltype(SysAllocStringLen)>(dll, "SysAllocStringLen");
    }
    return found;
  }();
  return functions;
}

std::optional<LONG> platformRole(tk::Role role) {
  switch (role) {
  case tk::Role::Group:
    return ROLE_SYSTEM_GROUPING;
  case tk::Role::Picture:
    return ROLE_SYSTEM_GRAPHIC;
  case tk::Role::Pane:
    return ROLE_SYSTEM_PANE;
  case tk::Role::Status:
    return ROLE_SYSTEM_STATUSBAR;
  case tk::Role::Hidden:
  case tk::Role::Own:
    break;
  }
  return std::nullopt;
}

HRESULT text(const std::string &utf8, BSTR *out) {
  if (utf8.empty()) {
    *out = nullptr;
    return S_FALSE;
  }
  const std::wstring wide = widen(utf8);
  *out = oleacc().allocString(wide.data(), static_cast<UINT>(wide.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

bool isSelf(const VARIANT &child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The object Windows makes for the window, with the toolkit's name, description and role.
// It finds its control through the window each time: once the form is gone it says only
// what Windows says.
class ControlAccessible final : public IAccessible {
public:
  ControlAccessible(HWND window, IAccessible *standard) : window_(window), standard_(standard) {}
  ~ControlAccessible() { standard_->Release(); }
  ControlAccessible(const ControlAccessible &) = delete;
  ControlAccessible &operator=(const ControlAccessible &) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override {
    if (id == IID_IUnknown || id == IID_IDispatch || id == accessibleInterface) {
      *object = static_cast<IAccessible *>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      delete this;
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR *names, UINT count, LCID locale,
                                          DISPID *ids) override {
    return standard_->GetIDsOfNames(id, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                   DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *exception,
                                   UINT *wrong) override {
    return standard_->Invoke(member, id, locale, flags, parameters, result, exception, wrong);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override {
    if (const tk::Control *c = control(); c != nullptr && isSelf(child)) {
      return text(tk::accessibleName(*c), name);
    }
    return standard_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *description) override {
    if (const tk::Control *c = control(); c != nullptr && isSelf(child)) {
      return text(tk::accessibleDescription(*c), description);
    }
    return standard_->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override {
    const tk::Control *c = control();
    const std::optional<LONG> own =
        c != nullptr ? platformRole(tk::accessibleRole(*c)) : std::nullopt;
    if (own && isSelf(child)) {
      role->vt = VT_I4;
      role->lVal = *own;
      return S_OK;
    }
    return standard_->get_accRole(child, role);
  }

  // Everything else is as Windows has it.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT *child) override {
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
  [[nodiscard]] const tk::Control *control() const {
    const auto *site = reinterpret_cast<const Site *>(GetWindowLongPtrW(window_, GWLP_USERDATA));
    return site != nullptr ? site->control : nullptr;
  }

  HWND window_;
  IAccessible *standard_;
  ULONG references_ = 1;
};

} // namespace

std::optional<LRESULT> accessibleObject(HWND window, WPARAM flags, LPARAM object) {
  if (static_cast<LONG>(object) != OBJID_CLIENT) {
    return std::nullopt;
  }
  const Oleacc &functions = oleacc();
  if (!functions.loaded()) {
    return std::nullopt;
  }
  IAccessible *standard = nullptr;
  if (FAILED(functions.createStandard(window, OBJID_CLIENT, accessibleInterface,
                                      reinterpret_cast<void **>(&standard)))) {
    return std::nullopt;
  }
  auto *accessible = new ControlAccessible(window, standard);
  const LRESULT result = functions.resultFrom(accessibleInterface, flags, accessible);
  accessible->Release();
  return result;
}

} // namespace w32
