#include "backend.h"

#include "accessible.h"
#include "formview.h"
#include "text.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace w32 {
namespace {

// The program's one backend, which the window procedures call.
Win32Backend *theBackend = nullptr;

constexpr UINT_PTR tickTimer = 1;
// The timer has gone off and goes off again unless it is set anew.
constexpr tk::Millis staleDue = -1;
// Messages posted to the backend's own window, to be handled once the event that
// posted them has returned.
constexpr UINT tabMessage = WM_APP;
constexpr UINT activateMessage = WM_APP + 1;

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
bool commonMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_ACTIVATE:
    if (LOWORD(wParam) != WA_INACTIVE) {
      theBackend->activated(window);
    }
    return false;
  case WM_SIZE:
    theBackend->minimisedOrRestored();
    return false;
  case WM_DPICHANGED:
    theBackend->dpiChanged(window, HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
    return true;
  case WM_DISPLAYCHANGE:
    theBackend->displayChanged();
    return false;
  default:
    return false;
  }
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Site *site = siteOf(window);
  HWND client = site != nullptr ? site->view->mdiClient() : nullptr;
  if (site == nullptr || theBackend == nullptr) {
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
    if (commonMessage(window, message, wParam, lParam)) {
      return 0;
    }
    break;
  }
  return DefFrameProcW(window, client, message, wParam, lParam);
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

// The forms' windows and the picture boxes inside them.
LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Site *site = siteOf(window);
  if (site == nullptr || theBackend == nullptr) {
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
      theBackend->activated(window);
    }
    break;
  case WM_CLOSE:
    closeRequested(*site);
    return 0;
  default:
    if (isForm && commonMessage(window, message, wParam, lParam)) {
      return 0;
    }
    break;
  }
  return defaultProc(window, message, wParam, lParam);
}

LRESULT CALLBACK messageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (theBackend != nullptr &&
      (message == WM_TIMER || message == tabMessage || message == activateMessage)) {
    theBackend->posted(message, wParam);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
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
  drawFocusRing(dc, r, theBackend->gdi(), site->view->dpi());
  ReleaseDC(box, dc);
}

} // namespace

LRESULT CALLBACK Win32Backend::controlProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  Site *site = siteOf(window);
  if (site == nullptr || theBackend == nullptr) {
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

Win32Backend::Win32Backend()
    : timeSource_([this](tk::Millis wait) { armTimer(wait); }, [this] { stopTimer(); }) {
  theBackend = this;
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  registerClasses();
  messages_ = CreateWindowExW(0, L"HonderdtafelsMessages", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
}

Win32Backend::~Win32Backend() {
  if (desktop_ != nullptr) {
    desktop_->setWindowSystem(nullptr);
    desktop_ = nullptr;
  }
  // Child windows first: the main window owns the area they live in.
  views_.dropIf([](const FormView &view) { return view.mdiClient() == nullptr; });
  views_.clear();
  DestroyWindow(messages_);
  theBackend = nullptr;
}

void Win32Backend::registerClasses() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  struct Class {
    const wchar_t *name;
    WNDPROC procedure;
  };
  for (const Class c : {Class{frameClass, frameProc}, Class{formClass, formProc},
                        Class{paneClass, formProc}, Class{L"HonderdtafelsMessages", messageProc}}) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = c.procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = arrow;
    windowClass.lpszClassName = c.name;
    RegisterClassExW(&windowClass);
  }
}

void Win32Backend::attach(tk::Desktop &desktop) {
  desktop_ = &desktop;
  desktop.setWindowSystem(this);
  timeSource_.attach(&desktop);
}

void Win32Backend::detached() {
  desktop_ = nullptr;
  timeSource_.attach(nullptr);
}

int Win32Backend::run() {
  MSG message{};
  while (nextMessage(message)) {
    HWND client = mdiClient();
    if (client != nullptr && TranslateMDISysAccel(client, &message) != 0) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

// Waits for the next message. With none left and every window drawn, the picture decoder
// goes before the wait: the pictures on screen are kept as bitmaps, while WIC and the
// libraries it loads held 1.7 MB for as long as the program sat on one screen. Only while
// it is loaded does the loop look ahead: under Wine each look asks the server.
bool Win32Backend::nextMessage(MSG &message) {
  if (pictures_.decoderLoaded() && PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) == 0) {
    pictures_.releaseDecoder();
  }
  return GetMessageW(&message, nullptr, 0, 0) > 0;
}

HWND Win32Backend::mdiClient() const {
  for (const auto &[form, view] : views_) {
    if (view->mdiClient() != nullptr) {
      return view->mdiClient();
    }
  }
  return nullptr;
}

UINT Win32Backend::systemDpi() const {
  return GetDpiForSystem();
}

FormView *Win32Backend::viewOfWindow(HWND window) const {
  for (const auto &[form, view] : views_) {
    if (view->window() == window) {
      return view.get();
    }
  }
  return nullptr;
}

void Win32Backend::destroy(HWND window) {
  if (desktop_ != nullptr && desktop_->dispatching()) {
    // A handler of one of its controls may still be running, or wait in a modal loop (a
    // message box, a menu, a move) that would deliver a posted message at once: the
    // window goes when the outermost handler has returned.
    ShowWindow(window, SW_HIDE);
    doomed_.push_back(window);
  } else {
    destroyNow(window);
  }
}

void Win32Backend::destroyNow(HWND window) {
  // A child window of the main window goes through its area, which keeps their list.
  if ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0) {
    SendMessageW(GetParent(window), WM_MDIDESTROY, reinterpret_cast<WPARAM>(window), 0);
  } else {
    DestroyWindow(window);
  }
}

void Win32Backend::armTimer(tk::Millis wait) {
  const auto elapse = std::clamp<tk::Millis>(wait, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  const tk::Millis due = clock_.now() + elapse;
  if (timerDue_ != due) {
    SetTimer(messages_, tickTimer, static_cast<UINT>(elapse), nullptr);
    timerDue_ = due;
  }
}

void Win32Backend::stopTimer() {
  if (timerDue_) {
    KillTimer(messages_, tickTimer);
    timerDue_.reset();
  }
}

void Win32Backend::activated(HWND window) {
  PostMessageW(messages_, activateMessage, reinterpret_cast<WPARAM>(window), 0);
}

void Win32Backend::posted(UINT message, WPARAM wParam) {
  switch (message) {
  case WM_TIMER:
    // A Windows timer goes off again and again: the ticks that ran set it for the next
    // due one, or it stops.
    timerDue_ = staleDue;
    timeSource_.fired();
    if (timerDue_ == staleDue) {
      stopTimer();
    }
    break;
  case tabMessage:
    if (desktop_ != nullptr) {
      desktop_->tabPosted();
    }
    break;
  case activateMessage: {
    const auto window = reinterpret_cast<HWND>(wParam);
    FormView *view = viewOfWindow(window);
    if (view != nullptr && desktop_ != nullptr && view->isActive()) {
      desktop_->activate(view->form());
    }
    break;
  }
  default:
    break;
  }
}

bool Win32Backend::allMinimised() const {
  bool shown = false;
  for (const auto &[form, view] : views_) {
    if (form->design().kind == tk::WindowKind::MdiChild || !form->visible()) {
      continue;
    }
    if (IsIconic(view->window()) == 0) {
      return false;
    }
    shown = true;
  }
  return shown;
}

void Win32Backend::minimisedOrRestored() {
  // The program cannot be seen once every window of it is minimised.
  if (desktop_ != nullptr && allMinimised() != desktop_->hidden()) {
    desktop_->setHidden(!desktop_->hidden());
  }
}

void Win32Backend::dpiChanged(HWND window, UINT dpi, const RECT &suggested) {
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const auto &[form, view] : views_) {
    if (view->window() == window || GetAncestor(view->window(), GA_ROOT) == window) {
      view->dpiChanged(dpi);
    }
  }
}

void Win32Backend::displayChanged() {
  if (desktop_ != nullptr) {
    desktop_->displayChanged();
  }
}

void Win32Backend::formLoaded(tk::Form &form) {
  views_.load(form, *this);
}

void Win32Backend::formUnloaded(tk::Form &form) {
  views_.unload(form);
}

void Win32Backend::formChanged(tk::Form &form, tk::FormProperty property) {
  views_.formChanged(form, property);
}

void Win32Backend::controlChanged(tk::Control &control, tk::Property property) {
  views_.controlChanged(control, property);
}

void Win32Backend::settled() {
  // Destroying a window may activate another, which settles again: the list is taken first.
  for (HWND window : std::exchange(doomed_, {})) {
    destroyNow(window);
  }
  for (const auto &[form, view] : views_) {
    view->settled();
  }
  timeSource_.rearm();
}

void Win32Backend::messageBox(std::string_view text, std::string_view title) {
  // What the handler changed before the box is drawn before the box shows.
  for (const auto &[form, view] : views_) {
    view->releasePainting();
  }
  // Modal to the whole program, as the handler that waits for it expects.
  HWND owner = GetActiveWindow();
  std::vector<HWND> disabled;
  for (const auto &[form, view] : views_) {
    HWND window = view->window();
    if (window != owner && form->design().kind != tk::WindowKind::MdiChild &&
        IsWindowEnabled(window) != 0) {
      EnableWindow(window, FALSE);
      disabled.push_back(window);
    }
  }
  MessageBoxW(owner, widen(text).c_str(), widen(title).c_str(), MB_OK | MB_ICONINFORMATION);
  for (HWND window : disabled) {
    if (IsWindow(window) != 0) { // a window destroyed meanwhile is not touched
      EnableWindow(window, TRUE);
    }
  }
}

void Win32Backend::sendTab() {
  PostMessageW(messages_, tabMessage, 0, 0);
}

void Win32Backend::randomize() {
  random_.seed(tk::seedFromClock());
}

float Win32Backend::random() {
  return random_.next();
}

float Win32Backend::displayWidth() const {
  return twips(GetSystemMetrics(SM_CXSCREEN), systemDpi());
}

float Win32Backend::displayHeight() const {
  return twips(GetSystemMetrics(SM_CYSCREEN), systemDpi());
}

float Win32Backend::textWidth(std::string_view text, const tk::Font &font) const {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, gdi_.font(font, standardDpi));
  const std::wstring wide = widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  return twips(size.cx, standardDpi);
}

void Win32Backend::endProgram() {
  stopTimer();
  for (const auto &[form, view] : views_) {
    ShowWindow(view->window(), SW_HIDE);
  }
  PostQuitMessage(0);
}

} // namespace w32
