// The floor for the Windows benchmarks: a bare Win32 program of the program's own shape,
// started the way the program starts: a maximised MDI frame with a menu of one item, its
// MDI client in the main window's colour, and in it one child window of the welcome
// screen's size, centred. No pictures, no fonts of our own, no toolkit, no common controls.
#include <windows.h>

namespace {

// The welcome screen's size in pixels at 96 DPI, and the main window's colour.
constexpr int childWidth = 744;
constexpr int childHeight = 448;
constexpr COLORREF clientBackground = RGB(234, 226, 138);
constexpr UINT firstChildId = 0xFF00;
constexpr UINT basisCommand = 1;

const wchar_t frameClass[] = L"BareFrame";
const wchar_t childClass[] = L"BareChild";

HWND mdiClient = nullptr;

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
  default:
    return DefFrameProcW(window, mdiClient, message, wParam, lParam);
  }
}

LRESULT CALLBACK childProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
void addChild() {
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
  SendMessageW(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create));
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  registerClasses(instance);
  HWND frame = CreateWindowExW(0, frameClass, L"bare window", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                               makeMenu(), instance, nullptr);
  if (frame == nullptr) {
    return 1;
  }
  ShowWindow(frame, SW_SHOWMAXIMIZED);
  addChild();
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
