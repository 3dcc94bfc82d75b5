// The Win32 backend: mirrors the toolkit's forms as windows and the Windows common
// controls, turns window messages into the toolkit's events, and provides the services.
// It decides nothing: focus, Tab, which keys press a button and whether a window may
// close are the toolkit's.
#pragma once

#include "pictures.h"
#include "widgets.h"

#include "toolkit/closing_windows.h"
#include "toolkit/desktop.h"
#include "toolkit/form_views.h"
#include "toolkit/random.h"
#include "toolkit/timesource.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace w32 {

class FormView;

class Win32Backend : public tk::ViewingWindowSystem<Win32Backend, FormView>, public tk::Services {
public:
  Win32Backend();
  ~Win32Backend() override;
  Win32Backend(const Win32Backend &) = delete;
  Win32Backend &operator=(const Win32Backend &) = delete;

  [[nodiscard]] const tk::Clock &clock() const { return clock_; }
  void attach(tk::Desktop &desktop);
  // The message loop, until the program ends; returns the exit status.
  int run();

  static constexpr const wchar_t *frameClass = L"HonderdtafelsMain";
  static constexpr const wchar_t *formClass = L"HonderdtafelsForm";
  static constexpr const wchar_t *paneClass = L"HonderdtafelsPane";
  static constexpr UINT firstChildId = 0xFF00;

  [[nodiscard]] GdiObjects &gdi() { return gdi_; }
  [[nodiscard]] Pictures &pictures() { return pictures_; }
  [[nodiscard]] HWND mdiClient() const;
  [[nodiscard]] UINT systemDpi() const;
  // Destroys a form's window, once no event of it is running any more.
  void destroy(HWND window);

  // What the window procedures report.
  void activated(HWND window);
  void minimisedOrRestored();
  void dpiChanged(HWND window, UINT dpi, const RECT &suggested);
  void displayChanged();
  void posted(UINT message, WPARAM wParam);

  // tk::WindowSystem
  void settled() override;
  void detached() override;

  // tk::Services
  void messageBox(std::string_view text, std::string_view title) override;
  void sendTab() override;
  void randomize() override;
  float random() override;
  [[nodiscard]] float displayWidth() const override;
  [[nodiscard]] float displayHeight() const override;
  [[nodiscard]] float textWidth(std::string_view text, const tk::Font &font) const override;
  void endProgram() override;

private:
  void registerClasses();
  void armTimer(tk::Millis wait);
  void stopTimer();
  static void destroyNow(HWND window);
  [[nodiscard]] FormView *viewOfWindow(HWND window) const;

  tk::SteadyClock clock_;
  HWND messages_ = nullptr; // a message-only window: the timer, posted Tabs and activations
  tk::TimeSource timeSource_;
  // When the one timer goes off, if it is set: each SetTimer and KillTimer is a trip to the
  // wineserver under Wine, so the timer is set again only when that time moves.
  std::optional<tk::Millis> timerDue_;
  tk::Desktop *desktop_ = nullptr;
  tk::ClosingWindows<HWND> closing_{destroyNow, destroyNow};
  tk::UniformRandom random_;
  mutable GdiObjects gdi_;
  // Measures every text, with the font last measured in still selected.
  HDC measuring_ = CreateCompatibleDC(nullptr);
  mutable HFONT measuredFont_ = nullptr;
  Pictures pictures_;
};

} // namespace w32
