// The Windows program draws only settled states: what a handler changes is drawn once,
// after it has returned, and never in between. Real windows under Wine, whose messages a
// hook of this thread writes down.
#include "shell/win32/backend.h"
#include "shell/win32/pictures.h"
#include "toolkit/screen.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace {

using tk::Kind;

constexpr tk::Color green{0, 160, 0};
constexpr tk::Color blue{0, 0, 200};
constexpr tk::Color white{255, 255, 255};

constexpr tk::ControlDesign controls[] = {
    {.name = "go", .kind = Kind::Button, .text = "Ga", .rect = {120, 120, 1200, 495}},
    {.name = "verdict",
     .kind = Kind::Label,
     .text = "Goed zo",
     .rect = {120, 840, 3000, 495},
     .back = green,
     .fore = white},
    {.name = "table",
     .index = 0,
     .kind = Kind::Button,
     .text = "100",
     .rect = {120, 1560, 900, 495},
     .visible = false},
    {.name = "table",
     .index = 1,
     .kind = Kind::Button,
     .text = "200",
     .rect = {1200, 1560, 900, 495},
     .visible = false},
    // A label seen through to a shape its container draws.
    {.name = "pane", .kind = Kind::PictureBox, .rect = {3300, 120, 1400, 1400}, .back = white},
    {.name = "shape",
     .kind = Kind::Shape,
     .in = "pane",
     .rect = {100, 100, 1000, 1000},
     .back = blue,
     .shape = tk::ShapeStyle::Rectangle},
    {.name = "over",
     .kind = Kind::Label,
     .in = "pane",
     .text = "x",
     .rect = {200, 200, 600, 300},
     .transparent = true},
    {.name = "box", .kind = Kind::TextBox, .rect = {120, 2160, 1200, 375}},
};

constexpr tk::FormDesign proefDesign{.name = "Proef",
                                     .caption = "Proef",
                                     .clientWidth = 4800,
                                     .clientHeight = 2700,
                                     .controls = controls};

constexpr int goPlace = 0;
constexpr int verdictPlace = 1;
constexpr int firstTablePlace = 2;
constexpr int overPlace = 6;
constexpr int boxPlace = 7;

// Where the click stands: the button still going down and up, its handler running (until
// the event has settled), or settled.
enum class Phase { Clicking, Handling, Settled };

// A painting message or a new text, to which window, and when.
struct Painted {
  HWND window;
  UINT message;
  Phase phase;
};
std::vector<Painted> painted;
Phase phase = Phase::Clicking;

bool isPainting(UINT message) {
  return message == WM_PAINT || message == WM_ERASEBKGND || message == WM_DRAWITEM ||
         message == WM_NCPAINT;
}

void note(HWND window, UINT message) {
  if (isPainting(message) || message == WM_SETTEXT) {
    painted.push_back({window, message, phase});
  }
}

// Sent messages, among them the paints a control makes at once as it changes.
LRESULT CALLBACK sent(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto &message = *reinterpret_cast<const CWPSTRUCT *>(lParam);
    // An owner-drawn control is drawn by its parent, which the message names it to.
    note(message.message == WM_DRAWITEM
             ? reinterpret_cast<const DRAWITEMSTRUCT *>(message.lParam)->hwndItem
             : message.hwnd,
         message.message);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Posted messages, among them WM_PAINT from the queue.
LRESULT CALLBACK fetched(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    const auto &message = *reinterpret_cast<const MSG *>(lParam);
    note(message.hwnd, message.message);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Access violations, each seen before anything handles it.
int faults = 0;
LONG CALLBACK countFault(EXCEPTION_POINTERS *exception) {
  if (exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) {
    ++faults;
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

// Handles every message waiting, paints included, until none is left.
void drain() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

struct Proef : tk::Form {
  explicit Proef(tk::Desktop &desktop) : Form(desktop, proefDesign) {}
};

struct PaintingFixture : ::testing::Test {
  w32::Win32Backend backend;
  tk::Desktop desktop{backend.clock(), backend};
  tk::Screen<Proef> proef{desktop, [this] { return std::make_unique<Proef>(desktop); }};
  HHOOK sentHook = nullptr;
  HHOOK fetchedHook = nullptr;

  void SetUp() override {
    phase = Phase::Clicking;
    backend.attach(desktop);
    desktop.dispatch([this] { proef().show(); });
    drain();
    painted.clear();
    sentHook = SetWindowsHookExW(WH_CALLWNDPROC, sent, nullptr, GetCurrentThreadId());
    fetchedHook = SetWindowsHookExW(WH_GETMESSAGE, fetched, nullptr, GetCurrentThreadId());
    ASSERT_NE(sentHook, nullptr);
    ASSERT_NE(fetchedHook, nullptr);
  }
  void TearDown() override {
    UnhookWindowsHookEx(sentHook);
    UnhookWindowsHookEx(fetchedHook);
  }

  HWND parentWindow() { return FindWindowW(nullptr, L"Proef"); }
  // A control's window, in the form's or in a container's: its id is its place in the
  // design + 1.
  HWND window(int place) {
    struct Search {
      int id;
      HWND found = nullptr;
    } search{place + 1};
    EnumChildWindows(
        parentWindow(),
        [](HWND child, LPARAM lParam) -> BOOL {
          auto &s = *reinterpret_cast<Search *>(lParam);
          if (GetDlgCtrlID(child) == s.id) {
            s.found = child;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // Clicks "go" as the mouse would, with the round's end as its handler.
  void clickGo(const std::function<void()> &handler) {
    proef().control("go").onClick = [handler] {
      phase = Phase::Handling;
      handler();
    };
    SendMessageW(window(goPlace), BM_CLICK, 0, 0);
    phase = Phase::Settled;
    drain();
  }

  // How often a window had the message since the handler started.
  [[nodiscard]] std::ptrdiff_t count(HWND window, UINT message) const {
    return std::count_if(painted.begin(), painted.end(), [&](const Painted &p) {
      return p.window == window && p.message == message && p.phase != Phase::Clicking;
    });
  }

  // Types a digit into "box", whose Change handler unloads the form, as deliver() delivers
  // the keystroke. A fault in a window procedure is not seen as a crash: Wine, like 64-bit
  // Windows, ends the procedure there and goes on, so each one is counted.
  void typeIntoABoxThatUnloadsItsForm(
      const std::function<void(const std::function<void()> &)> &deliver) {
    HWND box = window(boxPlace);
    ASSERT_NE(box, nullptr);
    SetFocus(box);
    ASSERT_EQ(GetFocus(), box);
    proef().control("box").onChange = [this] { proef.unload(); };
    faults = 0;
    PVOID watcher = AddVectoredExceptionHandler(1, countFault);
    deliver([box] { SendMessageW(box, WM_CHAR, L'7', 1); });
    RemoveVectoredExceptionHandler(watcher);
    drain();
    EXPECT_EQ(faults, 0);
    EXPECT_FALSE(proef.loaded());
    EXPECT_EQ(IsWindow(box), FALSE);
  }
};

TEST_F(PaintingFixture, aRoundsEndIsDrawnOnceItHasSettled) {
  clickGo([this] {
    tk::Control &verdict = proef().control("verdict");
    verdict.setText("Dat is turbosnel ");
    verdict.setBackColor(blue);
    verdict.setForeColor(white);
    for (std::int16_t i = 0; i < 2; ++i) {
      proef().control("table", i).show();
    }
    proef().control("table", 0).setFocus();
  });
  for (const Painted &p : painted) {
    EXPECT_TRUE(p.phase != Phase::Handling || !isPainting(p.message))
        << "message " << p.message << " to window " << p.window << " while the handler ran";
  }
  // The verdict once, with its final text and colours; the table buttons with it.
  for (int place : {verdictPlace, firstTablePlace, firstTablePlace + 1}) {
    EXPECT_EQ(count(window(place), WM_DRAWITEM), 1) << "control " << place;
  }
  EXPECT_EQ(count(window(verdictPlace), WM_SETTEXT), 1);
}

// A label lets what lies behind it show through: when that changes, the label is drawn
// again, though its container does not draw over its window.
TEST_F(PaintingFixture, aLabelOverAGraphicThatChangesIsDrawnAgain) {
  clickGo([this] { proef().control("shape").hide(); });
  EXPECT_EQ(count(window(overPlace), WM_DRAWITEM), 1);
}

// A Change handler may unload its own form: the keystroke that ran it finishes on a text
// box whose form is gone, and its window is destroyed once the outermost handler has
// returned. A keystroke handled while another event's handler still runs finishes on a
// box that is hidden yet still has the keyboard.
TEST_F(PaintingFixture, aChangeHandlerMayUnloadItsForm) {
  typeIntoABoxThatUnloadsItsForm([](const std::function<void()> &type) { type(); });
}

TEST_F(PaintingFixture, aChangeHandlerMayUnloadItsFormWhileAnotherHandlerRuns) {
  typeIntoABoxThatUnloadsItsForm(
      [this](const std::function<void()> &type) { desktop.dispatch(type); });
}

// The pictures are decoded by the program itself: drawing one loads no imaging codecs.
TEST(PictureDecoder, picturesAreDrawnWithoutTheSystemsCodecs) {
  w32::Pictures pictures;
  const SIZE size = pictures.size("welcome-photo", 96);
  EXPECT_GT(size.cx, 0);
  EXPECT_GT(size.cy, 0);
  EXPECT_EQ(GetModuleHandleW(L"windowscodecs.dll"), nullptr);
}

// Texts are measured one after another in one DC: each in its own font, whichever came
// before it.
TEST(TextWidth, eachTextIsMeasuredInItsOwnFont) {
  w32::Win32Backend backend;
  constexpr tk::Font small{.points = 8.25F};
  constexpr tk::Font large{.points = 24, .bold = true};
  const float first = backend.textWidth("Klik hier en start !", small);
  const float inLarge = backend.textWidth("Klik hier en start !", large);
  EXPECT_GT(first, 0);
  EXPECT_GT(inLarge, 2 * first);
  EXPECT_EQ(backend.textWidth("Klik hier en start !", small), first);
  EXPECT_EQ(backend.textWidth("Klik hier en start !", large), inLarge);
}

} // namespace
