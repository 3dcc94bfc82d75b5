#include "backend.h"

#include "formview.h"
#include "mapping.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace w32 {
namespace {

// The program's one backend, which its message window's procedure calls.
Win32Backend *theBackend = nullptr;

constexpr UINT_PTR tickTimer = 1;
// The timer has gone off and goes off again unless it is set anew.
constexpr tk::Millis staleDue = -1;
// Messages posted to the backend's own window, to be handled once the event that
// posted them has returned.
constexpr UINT tabMessage = WM_APP;
constexpr UINT activateMessage = WM_APP + 1;

LRESULT CALLBACK messageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (theBackend != nullptr &&
      (message == WM_TIMER || message == tabMessage || message == activateMessage)) {
    theBackend->posted(message, wParam);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

Win32Backend::Win32Backend()
    : timeSource_([this](tk::Millis wait) { armTimer(wait); }, [this] { stopTimer(); }) {
  theBackend = this;
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
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
  DeleteDC(measuring_);
  theBackend = nullptr;
}

void Win32Backend::registerClasses() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  // The small icon of the title bars, loaded once: a class without one has it made anew from
  // the resource, for each class.
  HICON smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
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
    windowClass.hIconSm = smallIcon;
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
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    HWND client = mdiClient();
    if (client != nullptr && TranslateMDISysAccel(client, &message) != 0) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
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
  ShowWindow(window, SW_HIDE);
  closing_.close(window, desktop_);
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

void Win32Backend::minimisedOrRestored() {
  if (desktop_ != nullptr) {
    desktop_->minimisedOrRestored([this](const tk::Form &form) {
      const FormView *view = views_.find(form);
      return view != nullptr && IsIconic(view->window()) != 0;
    });
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

void Win32Backend::settled() {
  closing_.settled();
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

// A caption is laid out word by word, each measure in the same font as the one before: a DC
// made and a font selected for each would look the font up again every time.
float Win32Backend::textWidth(std::string_view text, const tk::Font &font) const {
  HFONT wanted = gdi_.font(font, standardDpi);
  if (wanted != measuredFont_) {
    SelectObject(measuring_, wanted);
    measuredFont_ = wanted;
  }
  const std::wstring wide = widen(text);
  SIZE size{};
  GetTextExtentPoint32W(measuring_, wide.c_str(), static_cast<int>(wide.size()), &size);
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
