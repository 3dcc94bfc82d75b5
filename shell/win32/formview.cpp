#include "formview.h"

#include "accessible.h"
#include "backend.h"
#include "mapping.h"
#include "system_library.h"
#include "widgets.h"

#include "toolkit/accessibility.h"
#include "toolkit/desktop.h"
#include "toolkit/keys.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace w32 {
namespace {

// The common controls are loaded with the first control, not as the program starts: their
// library registers its classes and loads its theme as it comes, and the main window, which
// has none of them, shows that much sooner.
void loadCommonControls() {
  [[maybe_unused]] static const bool loaded = [] {
    HMODULE dll = systemLibrary(L"comctl32.dll");
    auto *initialise = dll == nullptr
                           ? nullptr
                           : exported<decltype(InitCommonControlsEx)>(dll, "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX controls{
        sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    return initialise != nullptr && initialise(&controls) != FALSE;
  }();
}

std::wstring windowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

DWORD editAlign(tk::Align align) {
  switch (align) {
  case tk::Align::Centre:
    return ES_CENTER;
  case tk::Align::Right:
    return ES_RIGHT;
  case tk::Align::Left:
    break;
  }
  return ES_LEFT;
}

// Leaves the windows on a window out of what is painted into it: they draw themselves.
void excludeChildren(HDC dc, HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child) == FALSE) {
      continue;
    }
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
}

Site *siteOf(HWND window) {
  return reinterpret_cast<Site *>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT defaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0) {
    return DefMDIChildProcW(window, message, wParam, lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Whether a window may close is the toolkit's rule, for Alt+F4, a close box and a window
// manager's close alike; closing the main window ends the program.
void closeRequested(const Site &site) {
  tk::Form &form = site.view->form();
  form.desktop().closeRequested(form);
}

// What the frame, the forms' windows and our windows inside them have in common.
bool commonMessage(Win32Backend &backend, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_ACTIVATE:
    if (LOWORD(wParam) != WA_INACTIVE) {
      backend.activated(window);
    }
    return false;
  case WM_SIZE:
    backend.minimisedOrRestored();
    return false;
  case WM_DPICHANGED:
    backend.dpiChanged(window, HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
    return true;
  case WM_DISPLAYCHANGE:
    backend.displayChanged();
    return false;
  default:
    return false;
  }
}

// What a form's window and a container inside it do alike: draw themselves and what they
// hold, and hand their controls' notifications and the pointer to the view.
std::optional<LRESULT> surfaceMessage(Site &site, HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
  FormView &view = *site.view;
  switch (message) {
  case WM_PAINT:
    view.paint(window, site.control);
    return 0;
  case WM_ERASEBKGND:
    return 1; // painted whole in WM_PAINT
  case WM_COMMAND:
    if (lParam != 0) {
      view.command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    }
    break;
  case WM_DRAWITEM:
    view.draw(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
    return TRUE;
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC:
    if (HBRUSH brush = view.colors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
      return reinterpret_cast<LRESULT>(brush);
    }
    break;
  case WM_MOUSEMOVE:
    view.mouseMoved(window, lParam, wParam);
    return 0;
  default:
    break;
  }
  return std::nullopt;
}

// What a control's own class does with a message: our procedure stands in for the class's
// in each control's window.
LRESULT classProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
  return CallWindowProcW(own, window, message, wParam, lParam);
}

// The edit box draws itself; the focus ring goes over it each time it has.
void ringIfFocused(HWND box) {
  if (GetFocus() != box) {
    return;
  }
  const Site *site = siteOf(box);
  if (site == nullptr) {
    return; // a Change handler unloaded the box's form: its view is gone
  }
  HDC dc = GetWindowDC(box);
  RECT r;
  GetWindowRect(box, &r);
  OffsetRect(&r, -r.left, -r.top);
  paintFocusRing(dc, r, site->view->backend().gdi(), site->view->dpi());
  ReleaseDC(box, dc);
}

} // namespace

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Site *site = siteOf(window);
  HWND client = site != nullptr ? site->view->mdiClient() : nullptr;
  if (site == nullptr) {
    return DefFrameProcW(window, client, message, wParam, lParam);
  }
  switch (message) {
  case WM_COMMAND:
    if (lParam == 0 && HIWORD(wParam) == 0 && LOWORD(wParam) < Win32Backend::firstChildId) {
      site->view->command(LOWORD(wParam), 0, nullptr);
      return 0;
    }
    break;
  case WM_CLOSE:
    closeRequested(*site);
    return 0;
  default:
    if (commonMessage(site->view->backend(), window, message, wParam, lParam)) {
      return 0;
    }
    break;
  }
  return DefFrameProcW(window, client, message, wParam, lParam);
}

// The forms' windows and the picture boxes inside them.
LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Site *site = siteOf(window);
  if (site == nullptr) {
    return defaultProc(window, message, wParam, lParam);
  }
  if (const std::optional<LRESULT> done = surfaceMessage(*site, window, message, wParam, lParam)) {
    return *done;
  }
  FormView &view = *site->view;
  const bool isForm = site->control == nullptr;
  switch (message) {
  case WM_SETFOCUS: {
    const LRESULT result = defaultProc(window, message, wParam, lParam);
    if (isForm) {
      view.keyboardToWindow();
    }
    return result;
  }
  case WM_KEYDOWN:
    if (isForm && view.tabKey(keyDown(wParam, lParam))) {
      return 0;
    }
    break;
  case WM_CHAR:
    // The window itself has the keyboard: its KeyPress may hear the character.
    if (isForm) {
      view.typed(static_cast<wchar_t>(wParam));
      return 0;
    }
    break;
  case WM_MDIACTIVATE:
    // A child window of the main window became the active one inside it.
    if (reinterpret_cast<HWND>(lParam) == window) {
      view.backend().activated(window);
    }
    break;
  case WM_CLOSE:
    closeRequested(*site);
    return 0;
  default:
    if (isForm && commonMessage(view.backend(), window, message, wParam, lParam)) {
      return 0;
    }
    break;
  }
  return defaultProc(window, message, wParam, lParam);
}

LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Site *site = siteOf(window);
  if (site == nullptr) {
    return classProc(window, message, wParam, lParam); // its view is gone
  }
  const bool box = site->control->kind() == tk::Kind::TextBox;
  // A frame is a group box for a screen reader, and a container we draw like any other.
  if (site->control->kind() == tk::Kind::Frame) {
    if (const std::optional<LRESULT> done =
            surfaceMessage(*site, window, message, wParam, lParam)) {
      return *done;
    }
  }
  switch (message) {
  case WM_KEYDOWN:
    if (site->view->keyDown(*site->control, wParam, lParam)) {
      return 0; // the view may be gone: a button's click can unload its form
    }
    break;
  case WM_CHAR:
    if (site->view->charTaken()) {
      return 0;
    }
    break;
  case WM_SETFOCUS:
    site->view->focusArrived(site->control);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    break;
  case WM_KILLFOCUS:
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    break;
  case WM_MOUSEMOVE:
    site->view->mouseMoved(window, lParam, wParam);
    if (site->control->kind() == tk::Kind::Button) {
      // A button we draw has no hot look: it need not track the pointer until it leaves,
      // which Wine does by asking where the pointer is many times a second.
      return 0;
    }
    break;
  case WM_PAINT:
    if (site->control->kind() == tk::Kind::Image) {
      site->view->paintPicture(window, *site->control);
      return 0;
    }
    if (site->control->kind() == tk::Kind::StatusBar) {
      site->view->paintStatusBar(window, *site->control);
      return 0;
    }
    break;
  case WM_ERASEBKGND:
    if (site->control->kind() == tk::Kind::Image || site->control->kind() == tk::Kind::StatusBar) {
      return 1;
    }
    break;
  case WM_GETOBJECT:
    if (const std::optional<LRESULT> object = accessibleObject(window, wParam, lParam)) {
      return *object;
    }
    break;
  default:
    break;
  }
  const LRESULT result = classProc(window, message, wParam, lParam);
  if (box && (message == WM_PAINT || message == WM_NCPAINT || message == WM_CHAR ||
              message == WM_KEYDOWN || message == EM_REPLACESEL)) {
    ringIfFocused(window);
  }
  return result;
}

FormView::FormView(tk::Form &form, Win32Backend &backend)
    : form_(form), backend_(backend), site_{this, nullptr}, dpi_(initialDpi()) {
  tk::createWindow(*this, form.design().kind);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&site_));
  if (const UINT actual = GetDpiForWindow(window_); actual != dpi_) {
    dpi_ = actual;
    fitOuterSize();
  }
  if (form.design().kind == tk::WindowKind::MdiParent) {
    createMenus();
  } else {
    createControls();
  }
  formChanged(tk::FormProperty::Position);
}

// The DPI the window is made for: a child window's is that of the main window's monitor,
// which need not be the primary one's. A top-level window starts on the primary monitor
// and hears of another DPI as it moves.
UINT FormView::initialDpi() const {
  HWND client = backend_.mdiClient();
  if (form_.design().kind == tk::WindowKind::MdiChild && client != nullptr) {
    return GetDpiForWindow(client);
  }
  return backend_.systemDpi();
}

FormView::~FormView() {
  for (const Unpainted &area : unpainted_) {
    if (area.region != nullptr) {
      DeleteObject(area.region);
    }
  }
  for (Item &item : items_) {
    if (item.window != nullptr) {
      SetWindowLongPtrW(item.window, GWLP_USERDATA, 0);
    }
  }
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  backend_.destroy(window_);
}

HWND FormView::handle(const tk::Control *control) const {
  auto it = control != nullptr ? places_.find(control) : places_.end();
  return it == places_.end() ? nullptr : items_[it->second].window;
}

tk::Control *FormView::control(UINT id) const {
  return id >= 1 && id <= items_.size() ? items_[id - 1].site.control : nullptr;
}

DWORD FormView::style() const {
  const tk::FormDesign &design = form_.design();
  if (design.kind == tk::WindowKind::MdiParent) {
    return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  }
  DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  style |= design.kind == tk::WindowKind::MdiChild ? WS_CHILD : WS_POPUP;
  switch (design.border) {
  case tk::BorderStyle::None:
    break;
  case tk::BorderStyle::FixedSingle:
    style |= WS_BORDER;
    break;
  case tk::BorderStyle::FixedDialog:
    style |= WS_DLGFRAME;
    break;
  case tk::BorderStyle::Sizable:
    style |= WS_THICKFRAME;
    break;
  }
  // Only the main window has a control box: no system menu, no close box.
  return design.titleBar ? style | WS_CAPTION : style;
}

DWORD FormView::exStyle() const {
  const tk::FormDesign &design = form_.design();
  DWORD ex = design.border == tk::BorderStyle::FixedDialog ? WS_EX_DLGMODALFRAME : 0;
  return design.kind == tk::WindowKind::MdiChild ? ex | WS_EX_MDICHILD : ex;
}

SIZE FormView::outerSize() const {
  RECT r{0, 0, px(form_.clientWidth(), dpi_), px(form_.clientHeight(), dpi_)};
  const bool menu = form_.design().kind == tk::WindowKind::MdiParent;
  AdjustWindowRectExForDpi(&r, style(), menu ? TRUE : FALSE, exStyle(), dpi_);
  return {r.right - r.left, r.bottom - r.top};
}

void FormView::createMainWindow() {
  const SIZE size = outerSize();
  window_ =
      CreateWindowExW(exStyle(), Win32Backend::frameClass, widen(form_.design().caption).c_str(),
                      style(), CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr,
                      GetModuleHandleW(nullptr), nullptr);
  CLIENTCREATESTRUCT client{nullptr, Win32Backend::firstChildId};
  // MDIS_ALLCHILDSTYLES: the child windows keep the frames their designs give them.
  mdiClient_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                               WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | MDIS_ALLCHILDSTYLES, 0, 0,
                               0, 0, window_, nullptr, GetModuleHandleW(nullptr), &client);
  SetClassLongPtrW(mdiClient_, GCLP_HBRBACKGROUND,
                   reinterpret_cast<LONG_PTR>(backend_.gdi().brush(form_.design().back)));
}

void FormView::createChildWindow() {
  const SIZE size = outerSize();
  window_ = CreateWindowExW(
      exStyle(), Win32Backend::formClass, widen(tk::accessibleName(form_)).c_str(), style(), 0, 0,
      size.cx, size.cy, backend_.mdiClient(), nullptr, GetModuleHandleW(nullptr), nullptr);
}

void FormView::createTopLevelWindow() {
  const SIZE size = outerSize();
  window_ = CreateWindowExW(exStyle(), Win32Backend::formClass,
                            widen(tk::accessibleName(form_)).c_str(), style(), 0, 0, size.cx,
                            size.cy, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void FormView::createMenus() {
  items_.resize(form_.controls().size());
  HMENU bar = CreateMenu();
  std::vector<HMENU> popups(form_.controls().size(), nullptr);
  for (std::size_t i = 0; i < form_.controls().size(); ++i) {
    tk::Control &item = *form_.controls()[i];
    places_[&item] = i;
    items_[i].site = {this, &item};
    if (item.kind() != tk::Kind::Menu) {
      continue;
    }
    const std::wstring text = widen(item.text());
    if (item.container() == nullptr) {
      popups[i] = CreatePopupMenu();
      AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popups[i]), text.c_str());
    } else {
      HMENU popup = popups[places_.at(item.container())];
      AppendMenuW(popup, MF_STRING, i + 1, text.c_str());
    }
  }
  SetMenu(window_, bar);
}

void FormView::createControls() {
  items_.resize(form_.controls().size());
  for (std::size_t i = 0; i < form_.controls().size(); ++i) {
    places_[form_.controls()[i].get()] = i;
    items_[i].site = {this, form_.controls()[i].get()};
  }
  // Containers before what they contain: a frame in a picture box after the picture box.
  std::vector<tk::Control *> order;
  for (const auto &c : form_.controls()) {
    order.push_back(c.get());
  }
  auto depth = [](const tk::Control *c) {
    int d = 0;
    for (const tk::Control *in = c->container(); in != nullptr; in = in->container()) {
      ++d;
    }
    return d;
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](const tk::Control *a, const tk::Control *b) { return depth(a) < depth(b); });
  for (tk::Control *c : order) {
    const std::size_t i = places_.at(c);
    items_[i].window = createControl(*c, parentOf(*c), static_cast<UINT>(i + 1));
  }
  // Stacked as the form orders them, each put behind those before it; the pictures,
  // shapes and lines are drawn behind them all.
  for (const tk::Control *c : form_.frontToBack()) {
    if (HWND own = handle(c)) {
      SetWindowPos(own, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  for (std::size_t i = 0; i < items_.size(); ++i) {
    tk::Control &c = *items_[i].site.control;
    if (items_[i].window == nullptr) {
      continue;
    }
    // Our procedure in place of the class's rather than comctl32's subclassing, which
    // looks its chain up in a window property on every message: under Wine a trip to the
    // wineserver each time.
    SetWindowLongPtrW(items_[i].window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&items_[i].site));
    SetWindowLongPtrW(items_[i].window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc));
    SendMessageW(items_[i].window, WM_SETFONT,
                 reinterpret_cast<WPARAM>(backend_.gdi().font(c.design().font, dpi_)), FALSE);
    if (c.kind() == tk::Kind::TextBox) {
      // The boxes of the field of numbers have room for "100" only without margins.
      SendMessageW(items_[i].window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    }
    place(c);
    showText(c);
    showValue(c);
    showPanels(c);
    addTooltip(c);
    EnableWindow(items_[i].window, c.enabled() ? TRUE : FALSE);
    ShowWindow(items_[i].window, c.visible() ? SW_SHOWNA : SW_HIDE);
  }
}

HWND FormView::createControl(tk::Control &control, HWND parent, UINT id) {
  if (drawnByContainer(control)) {
    return nullptr;
  }
  loadCommonControls();
  const tk::ControlDesign &design = control.design();
  const wchar_t *windowClass = nullptr;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ex = 0;
  switch (control.kind()) {
  case tk::Kind::Label:
    // Drawn by us, in the design's colours and through to what lies behind it.
    windowClass = L"STATIC";
    style |= SS_OWNERDRAW | SS_NOPREFIX;
    break;
  case tk::Kind::TextBox:
    windowClass = L"EDIT";
    style |= ES_AUTOHSCROLL | editAlign(design.align) | (design.tabStop ? WS_TABSTOP : 0U);
    style |= (control.locked() ? ES_READONLY : 0U) | WS_BORDER;
    break;
  case tk::Kind::Button:
    // Its face in the design's colours with its picture; its window text is its name.
    windowClass = L"BUTTON";
    style |= BS_OWNERDRAW | (design.tabStop ? WS_TABSTOP : 0U);
    break;
  case tk::Kind::Frame:
    // A group box for a screen reader, named by its caption; drawn by us.
    windowClass = L"BUTTON";
    style |= BS_GROUPBOX | WS_CLIPCHILDREN;
    break;
  case tk::Kind::PictureBox:
    windowClass = Win32Backend::paneClass;
    style |= WS_CLIPCHILDREN;
    break;
  case tk::Kind::StatusBar:
    windowClass = STATUSCLASSNAMEW;
    style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    break;
  case tk::Kind::ProgressBar:
    windowClass = PROGRESS_CLASSW;
    break;
  case tk::Kind::Image:
    // A picture with a name: a static picture for a screen reader, which we draw.
    windowClass = L"STATIC";
    style |= SS_BITMAP;
    break;
  default:
    return nullptr; // drawn by its container
  }
  return CreateWindowExW(ex, windowClass, nullptr, style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

void FormView::addTooltip(const tk::Control &control) {
  if (control.design().tooltip.empty()) {
    return;
  }
  // The form's tooltip window comes with its first tip: most forms have none, and each
  // window of its own is one more for the window system to make before the form shows.
  if (tooltip_ == nullptr) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  std::wstring text = widen(control.design().tooltip);
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.lpszText = text.data();
  HWND own = handle(&control);
  if (own != nullptr && tk::isWindowed(control.kind())) {
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(own);
  } else {
    // A label lets the pointer through, and a picture has no window: the tip belongs to
    // their place in the container.
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = parentOf(control);
    tool.uId = places_.at(&control) + 1;
    tool.rect = rectOf(control, dpi_);
  }
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND FormView::parentOf(const tk::Control &control) const {
  HWND container = handle(control.container());
  return container != nullptr ? container : window_;
}

void FormView::place(const tk::Control &control) {
  HWND own = handle(&control);
  moveTooltip(control);
  if (own == nullptr) {
    invalidate(control);
    return;
  }
  const RECT r = rectOf(control, dpi_);
  MoveWindow(own, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  if (control.kind() == tk::Kind::StatusBar) {
    showPanels(control);
  }
}

// A tip that belongs to a place of its container follows the control as it moves, is
// hidden or changes its DPI: a hidden control shows no tip.
void FormView::moveTooltip(const tk::Control &control) {
  if (tooltip_ == nullptr || control.design().tooltip.empty() || tk::isWindowed(control.kind())) {
    return;
  }
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = parentOf(control);
  tool.uId = places_.at(&control) + 1;
  tool.rect = control.visible() ? rectOf(control, dpi_) : RECT{};
  SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormView::invalidate(const tk::Control &control) {
  HWND own = handle(&control);
  if (own != nullptr) {
    InvalidateRect(own, nullptr, FALSE);
    return;
  }
  // Drawn by its container: all of it, as the drawing may have moved, with the labels
  // over it, which its container does not draw over and which let it show through.
  RedrawWindow(parentOf(control), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void FormView::showText(const tk::Control &control) {
  HWND own = handle(&control);
  if (own == nullptr) {
    invalidate(control);
    return;
  }
  // A text box shows its text; every other control carries its name for a screen reader
  // as its window text, and is drawn with its caption.
  if (control.kind() == tk::Kind::Image) {
    InvalidateRect(own, nullptr, FALSE); // a static picture's text would name a bitmap
    return;
  }
  if (control.kind() == tk::Kind::TextBox) {
    setWindowText(own, widen(control.text()));
  } else if (std::find(renamed_.begin(), renamed_.end(), &control) == renamed_.end()) {
    // A static or a button paints itself at once as its text is set: its name waits
    // for settled(), so that no half-changed state is ever drawn.
    renamed_.push_back(&control);
  }
  if (control.kind() == tk::Kind::Label) {
    place(control); // its caption may stand out of it by a different amount
  }
  InvalidateRect(own, nullptr, FALSE);
}

void FormView::setWindowText(HWND own, const std::wstring &text) {
  if (windowText(own) != text) {
    syncing_ = true;
    SetWindowTextW(own, text.c_str());
    syncing_ = false;
  }
}

void FormView::settled() {
  for (const tk::Control *control : std::exchange(renamed_, {})) {
    if (HWND own = handle(control)) {
      setWindowText(own, widen(tk::accessibleName(*control)));
    }
  }
  releasePainting();
}

void FormView::showPanels(const tk::Control &control) {
  HWND bar = handle(&control);
  if (bar == nullptr || control.kind() != tk::Kind::StatusBar) {
    return;
  }
  const auto count = static_cast<int>(control.panels().size());
  std::vector<int> rights;
  for (int part = 0; part < count; ++part) {
    rights.push_back(
        px(static_cast<float>(control.panelRect(part).right * tk::twipsPerPixel), dpi_));
  }
  SendMessageW(bar, SB_SETPARTS, static_cast<WPARAM>(count),
               reinterpret_cast<LPARAM>(rights.data()));
  panelTexts_.resize(control.panels().size());
  for (int part = 0; part < count; ++part) {
    const std::wstring text = widen(control.panels()[static_cast<std::size_t>(part)].text);
    if (panelTexts_[static_cast<std::size_t>(part)] != text) {
      panelTexts_[static_cast<std::size_t>(part)] = text;
      SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(part),
                   reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
}

void FormView::showValue(const tk::Control &control) {
  HWND bar = handle(&control);
  if (bar == nullptr || control.kind() != tk::Kind::ProgressBar) {
    return;
  }
  SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(std::lround(control.min())),
               static_cast<LPARAM>(std::lround(control.max())));
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(std::lround(control.value())), 0);
}

bool FormView::isActive() const {
  HWND active = GetActiveWindow();
  if (form_.design().kind != tk::WindowKind::MdiChild) {
    return active == window_;
  }
  return active == GetAncestor(window_, GA_ROOT) &&
         reinterpret_cast<HWND>(SendMessageW(GetParent(window_), WM_MDIGETACTIVE, 0, 0)) == window_;
}

void FormView::giveKeyboard() {
  HWND focused = handle(form_.focused());
  SetFocus(focused != nullptr ? focused : window_);
}

void FormView::keyboardToWindow() {
  // The window has the keyboard: it goes on to its control that has the focus.
  // The control's own style: its window may be held from painting, which hides it from
  // IsWindowVisible.
  if (HWND focused = handle(form_.focused());
      focused != nullptr && (GetWindowLongPtrW(focused, GWL_STYLE) & WS_VISIBLE) != 0) {
    SetFocus(focused);
  }
}

// The changes a window draws as they are made, rather than when it is next painted: a
// window shown, enabled or given the focus, and an edit box's text (a label's or a
// button's text waits for settled()). A move or a colour only marks what to paint, so the
// falling problem's ten moves a second hold nothing: a held window is invisible to
// IsWindowVisible, and other programs (a screen reader) should see that as little as can be.
bool FormView::drawnAtOnce(const tk::Control &control, tk::Property property) {
  switch (property) {
  case tk::Property::Visible:
  case tk::Property::Enabled:
  case tk::Property::Focus:
  case tk::Property::Container:
    return true;
  case tk::Property::Text:
    return control.kind() == tk::Kind::TextBox;
  default:
    return false;
  }
}

// While a handler changes the form, its window and everything in it draw nothing: a
// control that repaints at once as it changes (a button shown, a focus moved) would show
// a state that never exists once the handler has run. Held only inside a handler, so
// that settled() always comes to draw what changed.
void FormView::holdPainting() {
  if (paintingHeld_ || form_.design().kind == tk::WindowKind::MdiParent ||
      !form_.desktop().dispatching() || IsWindowVisible(window_) == 0) {
    return;
  }
  keepPendingPaints();
  // The caret blinks by drawing over its window: it stays away while nothing is drawn.
  HideCaret(nullptr);
  SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  paintingHeld_ = true;
}

// Holding painting drops what waited to be drawn: it is drawn when the hold ends.
void FormView::keepPendingPaints() {
  keepPendingPaint(window_);
  EnumChildWindows(
      window_,
      [](HWND child, LPARAM view) {
        reinterpret_cast<FormView *>(view)->keepPendingPaint(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
}

void FormView::keepPendingPaint(HWND window) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetUpdateRgn(window, region, FALSE) > NULLREGION) {
    unpainted_.push_back({window, region});
  } else {
    DeleteObject(region);
  }
}

// A control about to change while painting is held: its window, and the place in its
// container it leaves, are drawn when the hold ends; a control its container draws is
// drawn with all of its container, as it may have moved.
void FormView::unpaintedBefore(const tk::Control &control, tk::Property property) {
  HWND own = handle(&control);
  HWND parent = parentOf(control);
  if (property == tk::Property::Container) {
    parent = window_; // it leaves a container the toolkit no longer names
  }
  if (own == nullptr || property == tk::Property::Container) {
    unpainted_.push_back({parent, nullptr});
    return;
  }
  unpainted_.push_back({own, nullptr});
  unpainted_.push_back({parent, placeIn(own, parent)});
  if (std::find(moved_.begin(), moved_.end(), &control) == moved_.end()) {
    moved_.push_back(&control);
  }
}

HRGN FormView::placeIn(HWND own, HWND parent) {
  RECT r;
  GetWindowRect(own, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
  return CreateRectRgnIndirect(&r);
}

void FormView::releasePainting() {
  if (!std::exchange(paintingHeld_, false)) {
    return;
  }
  SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
  for (const tk::Control *control : std::exchange(moved_, {})) {
    // The place it has come to.
    if (HWND own = handle(control)) {
      HWND parent = parentOf(*control);
      unpainted_.push_back({parent, placeIn(own, parent)});
    }
  }
  for (const Unpainted &area : std::exchange(unpainted_, {})) {
    RedrawWindow(area.window, nullptr, area.region,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    if (area.region != nullptr) {
      DeleteObject(area.region);
    }
  }
  ShowCaret(nullptr);
}

void FormView::formChanged(tk::FormProperty property) {
  if (property == tk::FormProperty::Visible || property == tk::FormProperty::Position ||
      property == tk::FormProperty::Raised) {
    // The window itself is shown, hidden, moved or brought forward as it is: what lies
    // around it is drawn as it goes.
    releasePainting();
  }
  switch (property) {
  case tk::FormProperty::Visible:
    if (form_.visible()) {
      show();
    } else {
      ShowWindow(window_, SW_HIDE);
    }
    break;
  case tk::FormProperty::Position:
    if (form_.design().kind != tk::WindowKind::MdiParent) {
      SetWindowPos(window_, nullptr, px(form_.left(), dpi_), px(form_.top(), dpi_), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    break;
  case tk::FormProperty::Enabled:
    EnableWindow(window_, form_.enabled() ? TRUE : FALSE);
    break;
  case tk::FormProperty::Caption:
    nameWindow();
    break;
  case tk::FormProperty::Focus:
    // No control holds the focus any more: the window itself takes the keys.
    if (isActive()) {
      SetFocus(window_);
    }
    break;
  case tk::FormProperty::Raised:
    if (form_.design().kind == tk::WindowKind::MdiChild) {
      SendMessageW(GetParent(window_), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window_), 0);
    } else {
      SetForegroundWindow(window_);
      SetActiveWindow(window_);
    }
    if (isActive()) {
      giveKeyboard();
    }
    break;
  }
}

void FormView::show() {
  ShowWindow(window_, form_.design().maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
}

// A window without a title bar still has a name for a screen reader: its window text.
void FormView::nameWindow() {
  SetWindowTextW(window_, widen(tk::accessibleName(form_)).c_str());
}

void FormView::controlChanged(tk::Control &control, tk::Property property) {
  auto at = places_.find(&control);
  if (at == places_.end()) {
    return;
  }
  if (drawnAtOnce(control, property)) {
    holdPainting();
  }
  if (paintingHeld_) {
    unpaintedBefore(control, property);
  }
  if (control.kind() == tk::Kind::Menu) {
    HMENU menu = GetMenu(window_);
    const auto id = static_cast<UINT>(at->second + 1);
    EnableMenuItem(menu, id, MF_BYCOMMAND | (control.enabled() ? MF_ENABLED : MF_GRAYED));
    return;
  }
  HWND own = items_[at->second].window;
  switch (property) {
  case tk::Property::Visible:
    moveTooltip(control);
    if (own != nullptr) {
      ShowWindow(own, control.visible() ? SW_SHOWNA : SW_HIDE);
    } else {
      invalidate(control);
    }
    break;
  case tk::Property::Enabled:
    if (own != nullptr) {
      EnableWindow(own, control.enabled() ? TRUE : FALSE);
    }
    break;
  case tk::Property::Geometry:
    place(control);
    break;
  case tk::Property::Focus:
    if (own != nullptr && isActive()) {
      SetFocus(own);
    }
    break;
  case tk::Property::Container:
    if (own != nullptr) {
      // As the information screen puts its progress bar into a panel of its status bar.
      SetParent(own, parentOf(control));
      place(control);
      ShowWindow(own, control.visible() ? SW_SHOWNA : SW_HIDE);
      SetWindowPos(own, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
      InvalidateRect(window_, nullptr, FALSE);
    }
    break;
  case tk::Property::Locked:
    SendMessageW(own, EM_SETREADONLY, control.locked() ? TRUE : FALSE, 0);
    break;
  case tk::Property::Value:
    showValue(control);
    break;
  case tk::Property::Panels:
    showPanels(control);
    break;
  case tk::Property::Text:
  case tk::Property::Colors:
  case tk::Property::Description:
    showText(control);
    break;
  }
}

Canvas FormView::canvas(HDC dc) const {
  return {dc, backend_.gdi(), backend_.pictures(), dpi_};
}

void FormView::paint(HWND window, const tk::Control *pane) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  if (!IsRectEmpty(&ps.rcPaint)) {
    Buffered buffer(dc, ps.rcPaint);
    paintSurface(canvas(buffer.dc()), form_, pane, client);
  }
  EndPaint(window, &ps);
}

void FormView::paintPicture(HWND window, const tk::Control &picture) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  if (!IsRectEmpty(&client)) {
    Buffered buffer(dc, client);
    paintInPlace(canvas(buffer.dc()), picture, window, client);
  }
  EndPaint(window, &ps);
}

// The status bar drawn as the other programs draw it, not as Windows' own.
void FormView::paintStatusBar(HWND window, const tk::Control &bar) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  excludeChildren(dc, window);
  if (!IsRectEmpty(&client)) {
    Buffered buffer(dc, client);
    w32::paintStatusBar(canvas(buffer.dc()), bar, client, panelTexts_);
  }
  EndPaint(window, &ps);
}

HBRUSH FormView::colors(HDC dc, HWND child) {
  const Site *site = reinterpret_cast<const Site *>(GetWindowLongPtrW(child, GWLP_USERDATA));
  if (site == nullptr || site->view != this) {
    return nullptr;
  }
  SetTextColor(dc, colorRef(site->control->foreColor()));
  SetBkColor(dc, colorRef(site->control->backColor()));
  return backend_.gdi().brush(site->control->backColor());
}

void FormView::draw(const DRAWITEMSTRUCT &item) {
  tk::Control *c = control(item.CtlID);
  if (c == nullptr) {
    return;
  }
  Buffered buffer(item.hDC, item.rcItem);
  if (c->kind() == tk::Kind::Label) {
    paintInPlace(canvas(buffer.dc()), *c, item.hwndItem, item.rcItem);
  } else if (c->kind() == tk::Kind::Button) {
    paintButton(canvas(buffer.dc()), *c, item.rcItem, (item.itemState & ODS_SELECTED) != 0,
                GetFocus() == item.hwndItem);
  }
}

void FormView::command(UINT id, UINT code, HWND child) {
  tk::Control *c = control(id);
  if (c == nullptr) {
    return;
  }
  // A button we draw reports a second click soon after the first as a double click:
  // it presses the button again, as every click does.
  const bool pressed = code == BN_CLICKED || code == BN_DOUBLECLICKED;
  if (c->kind() == tk::Kind::Menu || (c->kind() == tk::Kind::Button && pressed)) {
    c->click(); // may unload this form: nothing of it is touched after
  } else if (c->kind() == tk::Kind::TextBox && code == EN_CHANGE && !syncing_) {
    c->typeText(narrow(windowText(child)));
  }
}

void FormView::mouseMoved(HWND from, LPARAM at, WPARAM state) {
  if (form_.design().kind == tk::WindowKind::MdiParent) {
    return;
  }
  POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  MapWindowPoints(from, window_, &point, 1);
  int buttons = 0;
  buttons |= (state & MK_LBUTTON) != 0 ? tk::mouse::left : 0;
  buttons |= (state & MK_RBUTTON) != 0 ? tk::mouse::right : 0;
  buttons |= (state & MK_MBUTTON) != 0 ? tk::mouse::middle : 0;
  int shift = 0;
  shift |= (state & MK_SHIFT) != 0 ? tk::shift::shiftKey : 0;
  shift |= (state & MK_CONTROL) != 0 ? tk::shift::ctrlKey : 0;
  shift |= GetKeyState(VK_MENU) < 0 ? tk::shift::altKey : 0;
  form_.mouseMove(
      {.buttons = buttons, .shift = shift, .x = twips(point.x, dpi_), .y = twips(point.y, dpi_)});
}

bool FormView::keyDown(tk::Control &control, WPARAM virtualKey, LPARAM keyData) {
  charTaken_ = false;
  const tk::KeyDown down = w32::keyDown(virtualKey, keyData);
  if (tabKey(down)) {
    charTaken_ = true;
    return true;
  }
  switch (tk::keyOnControl(control, down)) {
  case tk::KeyEffect::Press:
    charTaken_ = true;
    control.click(); // may unload this form: nothing of it is touched after
    return true;
  case tk::KeyEffect::Swallow:
    charTaken_ = true;
    return true;
  case tk::KeyEffect::TypeDigit: {
    charTaken_ = true;
    const wchar_t digit[] = {static_cast<wchar_t>(L'0' + *down.digitAtPlace), L'\0'};
    SendMessageW(handle(&control), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digit));
    return true;
  }
  case tk::KeyEffect::Default:
    break;
  }
  return false;
}

bool FormView::tabKey(const tk::KeyDown &key) {
  return form_.tabKey(key);
}

void FormView::typed(wchar_t unit) {
  if (const std::optional<char32_t> character = typing_.add(unit)) {
    form_.typed(typedKey(*character));
  }
}

bool FormView::charTaken() {
  return std::exchange(charTaken_, false);
}

void FormView::focusArrived(tk::Control *control) {
  form_.focusMovedTo(control);
}

void FormView::dpiChanged(UINT dpi) {
  dpi_ = dpi;
  for (const Item &item : items_) {
    if (item.window != nullptr) {
      SendMessageW(
          item.window, WM_SETFONT,
          reinterpret_cast<WPARAM>(backend_.gdi().font(item.site.control->design().font, dpi_)),
          FALSE);
      place(*item.site.control);
    } else if (item.site.control != nullptr) {
      moveTooltip(*item.site.control);
    }
  }
  if (form_.design().kind == tk::WindowKind::MdiChild) {
    fitOuterSize();
    formChanged(tk::FormProperty::Position);
  }
  InvalidateRect(window_, nullptr, TRUE);
}

// The window's frame around the design's client area at the window's DPI.
void FormView::fitOuterSize() {
  const SIZE size = outerSize();
  SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace w32
