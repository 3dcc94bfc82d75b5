// Reads the program's windows the way Windows itself and a screen reader see them, from a
// second process beside the program (run under the same Wine server):
//
//   probe windows      one line per visible window, top-level windows and their children:
//                      handle, parent ("desktop" for a top-level window), class, text,
//                      client area on the screen (x,y,w,h), and the role, name and
//                      description MSAA gives (AccessibleObjectFromWindow, IAccessible;
//                      "-" where it gives none)
//   probe statusbar    the information screen's progress bar: a child of its status bar
//                      covering panel 2 exactly (SB_GETRECT read inside the program's process)
//
// Fields are separated by tabs; tabs and line breaks inside texts are written as \t and \n.
// The exit status is 0 when the probe could read what it was asked, 1 when a check failed,
// 2 on a usage error.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace {

// A hung program must not hang the test: every question waits at most this long.
constexpr UINT answerWithinMs = 2000;
// The information screen's status bar has five panels; the progress bar stands on the second.
constexpr int infoPanels = 5;
constexpr int progressPanel = 1;

std::string utf8(const std::wstring &text) {
  if (text.empty())
    return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::string field(const std::wstring &text) {
  std::string out;
  for (char c : utf8(text)) {
    if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

std::wstring className(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// WM_GETTEXT is carried across processes, so an edit box gives what was typed into it
// (GetWindowTextW would give another process's window only its caption).
std::wstring windowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, answerWithinMs,
                           &length))
    return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, answerWithinMs, &copied);
  text.resize(copied);
  return text;
}

struct Accessible {
  std::wstring role = L"-";
  std::wstring name = L"-";
  std::wstring description = L"-";
};

// One text property of an accessible object: "-" when it has none to give.
template <typename Getter> std::wstring accessibleText(Getter get) {
  BSTR text = nullptr;
  HRESULT got = get(&text);
  std::wstring result = got == S_OK && text != nullptr ? std::wstring(text) : L"-";
  SysFreeString(text);
  return result;
}

std::wstring roleText(const VARIANT &role) {
  if (role.vt != VT_I4)
    return L"?";
  wchar_t text[128] = {};
  GetRoleTextW(static_cast<DWORD>(role.lVal), text, 128);
  return text;
}

Accessible accessible(HWND window) {
  Accessible result;
  IAccessible *object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible),
                                        reinterpret_cast<void **>(&object))) ||
      object == nullptr)
    return result;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  VARIANT role;
  VariantInit(&role);
  if (SUCCEEDED(object->get_accRole(self, &role)))
    result.role = roleText(role);
  VariantClear(&role);
  result.name = accessibleText([&](BSTR *text) { return object->get_accName(self, text); });
  result.description =
      accessibleText([&](BSTR *text) { return object->get_accDescription(self, text); });
  object->Release();
  return result;
}

// A top-level window's parent is written "desktop".
std::string parentField(HWND window) {
  HWND parent = GetAncestor(window, GA_PARENT);
  if (parent == GetDesktopWindow())
    return "desktop";
  char handle[32] = {};
  std::snprintf(handle, sizeof handle, "%p", static_cast<void *>(parent));
  return handle;
}

void printWindow(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  Accessible reader = accessible(window);
  std::printf("%p\t%s\t%s\t%s\t%ld,%ld,%ld,%ld\t%s\t%s\t%s\n", static_cast<void *>(window),
              parentField(window).c_str(), field(className(window)).c_str(),
              field(windowText(window)).c_str(), origin.x, origin.y, client.right, client.bottom,
              field(reader.role).c_str(), field(reader.name).c_str(),
              field(reader.description).c_str());
}

// Visible top-level windows of other processes, each followed by its visible children.
std::vector<HWND> programWindows() {
  struct Collect {
    static BOOL CALLBACK child(HWND window, LPARAM found) {
      if (IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND> *>(found)->push_back(window);
      return TRUE;
    }
    static BOOL CALLBACK topLevel(HWND window, LPARAM found) {
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      if (process == GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
      reinterpret_cast<std::vector<HWND> *>(found)->push_back(window);
      EnumChildWindows(window, child, found);
      return TRUE;
    }
  };
  std::vector<HWND> windows;
  EnumWindows(Collect::topLevel, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

int listWindows() {
  for (HWND window : programWindows())
    printWindow(window);
  return 0;
}

// SB_GETRECT writes into memory of the process that owns the status bar, so the rectangle
// is asked for in a block of that process's memory and read back from there.
bool panelRect(HWND statusBar, int panel, RECT &rect) {
  DWORD processId = 0;
  GetWindowThreadProcessId(statusBar, &processId);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr)
    return false;
  void *remote = VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
  bool read = false;
  if (remote != nullptr) {
    DWORD_PTR answered = 0;
    read = SendMessageTimeoutW(statusBar, SB_GETRECT, static_cast<WPARAM>(panel),
                               reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, answerWithinMs,
                               &answered) &&
           answered && ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return read;
}

HWND firstOfClass(const wchar_t *name) {
  for (HWND window : programWindows())
    if (className(window) == name)
      return window;
  return nullptr;
}

void printRect(const char *what, const RECT &rect) {
  std::printf("%s\t%ld,%ld,%ld,%ld\n", what, rect.left, rect.top, rect.right, rect.bottom);
}

int checkStatusBar() {
  HWND statusBar = firstOfClass(STATUSCLASSNAMEW);
  HWND progress = firstOfClass(PROGRESS_CLASSW);
  if (statusBar == nullptr || progress == nullptr) {
    std::printf("missing\t%s%s\n", statusBar ? "" : "status bar ", progress ? "" : "progress bar");
    return 1;
  }
  int panels = static_cast<int>(SendMessageW(statusBar, SB_GETPARTS, 0, 0));
  std::printf("panels\t%d\n", panels);
  HWND parent = GetParent(progress);
  std::printf("parent\t%s\n",
              parent == statusBar ? "status bar" : field(className(parent)).c_str());
  RECT panel{};
  if (!panelRect(statusBar, progressPanel, panel)) {
    std::printf("panel 2\tunreadable\n");
    return 1;
  }
  RECT bar{};
  GetWindowRect(progress, &bar);
  MapWindowPoints(nullptr, statusBar, reinterpret_cast<POINT *>(&bar), 2);
  printRect("panel 2", panel);
  printRect("progress bar", bar);
  bool covers = EqualRect(&panel, &bar) != FALSE;
  std::printf("covers\t%s\n", covers ? "yes" : "no");
  return parent == statusBar && panels == infoPanels && covers ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
  std::string command = argc == 2 ? argv[1] : "";
  if (command != "windows" && command != "statusbar") {
    std::fprintf(stderr, "usage: probe windows | probe statusbar\n");
    return 2;
  }
  // Lines end in \n alone, as the shell scripts that read them expect.
  _setmode(_fileno(stdout), _O_BINARY);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int status = command == "windows" ? listWindows() : checkStatusBar();
  std::fflush(stdout);
  CoUninitialize();
  return status;
}
