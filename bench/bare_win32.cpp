// The floor for the Windows benchmarks: a bare Win32 program of the program's own shape,
// started the way the program starts: an MDI frame with a menu of one item, made at the main
// window's size and shown maximised, its MDI client in the main window's colour, and in it one
// child window of the welcome screen's size, centred, with a push button where the welcome
// screen has its start button. The button is version 6 of the common controls'
// (bare_win32.manifest), as the program's buttons are. No pictures, no fonts of our own, no
// toolkit. A screen reader's question it answers as the program does: it loads oleacc.dll and
// oleaut32.dll on the first one and gives Windows' own object for its window.
//
// With --round it is the floor of a round as well, without the button: in its child window a
// label of the falling problem's size falls through an area of the falling area's size, two
// pixels every 100 ms, and a countdown beside it changes each second, until it is ended.
#include <windows.h>

#include <oleacc.h>

#include <cwchar>
#include <string>

namespace {

// The main window's client size in pixels at 96 DPI before it is maximised, as the program
// makes it; the welcome screen's size, and the main window's colour.
constexpr int frameClientWidth = 662;
constexpr int frameClientHeight = 455;
constexpr int childWidth = 744;
constexpr int childHeight = 448;
constexpr COLORREF clientBackground = RGB(234, 226, 138);
constexpr UINT firstChildId = 0xFF00;
constexpr UINT basisCommand = 1;
// The welcome screen's start button: its place in the child window and its text.
constexpr RECT startButton{240, 72, 240 + 257, 72 + 233};

// A round: the falling area, the falling problem and its fall, the countdown.
constexpr RECT fallingArea{0, 0, 417, 321};
constexpr RECT fallingProblem{32, 16, 32 + 169, 16 + 33};
constexpr int fallPixels = 2;
constexpr UINT fallMs = 100;
constexpr RECT countdown{512, 248, 512 + 32, 248 + 37};
constexpr UINT countdownMs = 1000;
constexpr int roundSeconds = 60;
constexpr UINT_PTR fallTimer = 1;
constexpr UINT_PTR countdownTimer = 2;
constexpr COLORREF fallingBackground = RGB(0, 0, 128);

const wchar_t frameClass[] = L"BareFrame";
const wchar_t childClass[] = L"BareChild";

HWND mdiClient = nullptr;

template <class Function> Function *exported(HMODULE dll, const char *name) {
  return reinterpret_cast<Function *>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

// Windows' own accessible object for window, with the libraries loaded on the first question.
LRESULT accessibleObject(HWND window, WPARAM flags, LPARAM object) {
  static const HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
  static const HMODULE oleaut = LoadLibraryW(L"oleaut32.dll");
  if (static_cast<LONG>(object) != OBJID_CLIENT || oleacc == nullptr || oleaut == nullptr) {
    return 0;
  }
  auto *create = exported<decltype(CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
  auto *result = exported<decltype(LresultFromObject)>(oleacc, "LresultFromObject");
  IAccessible *standard = nullptr;
  if (create == nullptr || result == nullptr ||
      FAILED(create(window, OBJID_CLIENT, __uuidof(IAccessible),
                    reinterpret_cast<void **>(&standard)))) {
    return 0;
  }
  const LRESULT answer = result(__uuidof(IAccessible), flags, standard);
  standard->Release();
  return answer;
}

struct Round {
  HWND area = nullptr;
  HWND problem = nullptr;
  HWND seconds = nullptr;
  int top = fallingProblem.top;
  int left = roundSeconds;
};
Round round;

HWND addStatic(HWND parent, const wchar_t *text, const RECT &place) {
  return CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, place.left,
                         place.top, place.right - place.left, place.bottom - place.top, parent,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

void playRound(HWND child) {
  round.area = addStatic(child, L"", fallingArea);
  // The area stands at the child's corner: the problem, the child's own, falls over it.
  round.problem = addStatic(child, L"300 x 4 = ?", fallingProblem);
  SetWindowPos(round.problem, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  round.seconds = addStatic(child, std::to_wstring(roundSeconds).c_str(), countdown);
  SetTimer(child, fallTimer, fallMs, nullptr);
  SetTimer(child, countdownTimer, countdownMs, nullptr);
}

void fall() {
  round.top += fallPixels;
  if (round.top + (fallingProblem.bottom - fallingProblem.top) > fallingArea.bottom) {
    round.top = fallingProblem.top;
  }
  SetWindowPos(round.problem, nullptr, fallingProblem.left, round.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void tick() {
  round.left = round.left > 0 ? round.left - 1 : roundSeconds;
  SetWindowTextW(round.seconds, std::to_wstring(round.left).c_str());
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CREATE: {
    CLIENTCREATESTRUCT client{};
    client.idFirstChild = firstChildId;
    mdiClient = CreateWindowExW(0, L"MDICLIENT", nullptr,
                                WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | MDIS_ALLCHILDSTYLES, 0, 0,
                                0, 0, window, nullptr, GetModuleHandleW(nullptr), &client);
    SetClassLongPtrW(mdiClient, GCLP_HBRBACKGROUND,
                     reinterpret_cast<LONG_PTR>(CreateSolidBrush(clientBackground)));
    return 0;
  }
  case WM_DESTROY:
    PostQuitMessage(0);
    return 0;
  case WM_GETOBJECT:
    if (const LRESULT answer = accessibleObject(window, wParam, lParam)) {
      return answer;
    }
    break;
  default:
    break;
  }
  return DefFrameProcW(window, mdiClient, message, wParam, lParam);
}

HBRUSH fallingBrush() {
  static HBRUSH brush = CreateSolidBrush(fallingBackground);
  return brush;
}

LRESULT CALLBACK childProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_TIMER:
    if (wParam == fallTimer) {
      fall();
    } else if (wParam == countdownTimer) {
      tick();
    }
    return 0;
  case WM_GETOBJECT:
    if (const LRESULT answer = accessibleObject(window, wParam, lParam)) {
      return answer;
    }
    break;
  case WM_CTLCOLORSTATIC:
    // The falling area and its problem: white on navy.
    if (reinterpret_cast<HWND>(lParam) == round.area ||
        reinterpret_cast<HWND>(lParam) == round.problem) {
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      SetBkColor(reinterpret_cast<HDC>(wParam), fallingBackground);
      return reinterpret_cast<LRESULT>(fallingBrush());
    }
    break;
  default:
    break;
  }
  return DefMDIChildProcW(window, message, wParam, lParam);
}

void registerClasses(HINSTANCE instance) {
  WNDCLASSEXW frame{};
  frame.cbSize = sizeof frame;
  frame.lpfnWndProc = frameProc;
  frame.hInstance = instance;
  frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  frame.lpszClassName = frameClass;
  RegisterClassExW(&frame);

  WNDCLASSEXW child = frame;
  child.lpfnWndProc = childProc;
  child.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  child.lpszClassName = childClass;
  RegisterClassExW(&child);
}

HMENU makeMenu() {
  HMENU open = CreatePopupMenu();
  AppendMenuW(open, MF_STRING, basisCommand, L"&Basis");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(open), L"OPENEN ");
  return bar;
}

// A child without caption or border, as the welcome screen, centred in the client area.
HWND addChild() {
  RECT area{};
  GetClientRect(mdiClient, &area);
  MDICREATESTRUCTW create{};
  create.szClass = childClass;
  create.szTitle = L"";
  create.hOwner = GetModuleHandleW(nullptr);
  create.x = (area.right - childWidth) / 2;
  create.y = (area.bottom - childHeight) / 2;
  create.cx = childWidth;
  create.cy = childHeight;
  create.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  return reinterpret_cast<HWND>(
      SendMessageW(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

void addStartButton(HWND child) {
  CreateWindowExW(0, L"BUTTON", L"Klik hier en start !",
                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON,
                  startButton.left, startButton.top, startButton.right - startButton.left,
                  startButton.bottom - startButton.top, child, nullptr, GetModuleHandleW(nullptr),
                  nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  registerClasses(instance);
  constexpr DWORD frameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT frameSize{0, 0, frameClientWidth, frameClientHeight};
  AdjustWindowRectEx(&frameSize, frameStyle, TRUE, 0);
  HWND frame =
      CreateWindowExW(0, frameClass, L"bare window", frameStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      frameSize.right - frameSize.left, frameSize.bottom - frameSize.top, nullptr,
                      makeMenu(), instance, nullptr);
  if (frame == nullptr) {
    return 1;
  }
  ShowWindow(frame, SW_SHOWMAXIMIZED);
  HWND child = addChild();
  if (std::wcsstr(GetCommandLineW(), L"--round") != nullptr) {
    playRound(child);
  } else {
    addStartButton(child);
  }
  UpdateWindow(frame);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!TranslateMDISysAccel(mdiClient, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return static_cast<int>(message.wParam);
}
