// The Win32 windows of one loaded form, a window or a drawing for each control, and the
// window procedures that hand their messages to the form's view.
#pragma once

#include "mapping.h"
#include "widgets.h"

#include "toolkit/form.h"
#include "toolkit/form_views.h"

#include <windows.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace w32 {

class FormView;
class Win32Backend;

// What one of our windows stands for: a form's window (no control) or a control's.
struct Site {
  FormView *view = nullptr;
  tk::Control *control = nullptr;
};

class FormView {
public:
  FormView(tk::Form &form, Win32Backend &backend);
  ~FormView();
  FormView(const FormView &) = delete;
  FormView &operator=(const FormView &) = delete;

  [[nodiscard]] tk::Form &form() const { return form_; }
  [[nodiscard]] Win32Backend &backend() const { return backend_; }
  // The form's own window: a top-level window, an MDI child, or the MDI frame.
  [[nodiscard]] HWND window() const { return window_; }
  [[nodiscard]] HWND mdiClient() const { return mdiClient_; }
  [[nodiscard]] UINT dpi() const { return dpi_; }
  [[nodiscard]] HWND handle(const tk::Control *control) const;
  [[nodiscard]] tk::Control *control(UINT id) const;
  // The window has the keyboard's window: the active one, or the active child window of
  // the active main window.
  [[nodiscard]] bool isActive() const;

  void formChanged(tk::FormProperty property);
  void controlChanged(tk::Control &control, tk::Property property);

  // What the window procedures hand over.
  void paint(HWND window, const tk::Control *pane);
  void paintPicture(HWND window, const tk::Control &picture);
  void paintStatusBar(HWND window, const tk::Control &bar);
  [[nodiscard]] HBRUSH colors(HDC dc, HWND child);
  void draw(const DRAWITEMSTRUCT &item);
  void command(UINT id, UINT code, HWND child);
  void mouseMoved(HWND from, LPARAM at, WPARAM state);
  // A key going down on a control: true when the toolkit's rule took it.
  bool keyDown(tk::Control &control, WPARAM virtualKey, LPARAM keyData);
  // The character a key that went down has typed, which the rule may have taken already.
  bool charTaken();
  // Tab and Shift+Tab at the form, by the toolkit's rule: true when the key was one.
  bool tabKey(const tk::KeyDown &key);
  // A WM_CHAR while the window itself has the keyboard: its KeyPress may hear it.
  void typed(wchar_t unit);
  void focusArrived(tk::Control *control);
  void keyboardToWindow();
  void dpiChanged(UINT dpi);
  // The outermost handler has returned: what waited for it is done now.
  void settled();
  // What a handler changed so far is drawn now, as before a message box shows.
  void releasePainting();

private:
  struct Item {
    HWND window = nullptr;
    Site site;
  };
  // What is drawn once painting is no longer held: a region of a window, in its client
  // coordinates, or all of it (no region).
  struct Unpainted {
    HWND window = nullptr;
    HRGN region = nullptr;
  };
  friend void tk::createWindow<FormView>(FormView &view, tk::WindowKind kind);
  [[nodiscard]] UINT initialDpi() const;
  void createMainWindow();
  void createChildWindow();
  void createTopLevelWindow();
  void createMenus();
  void createControls();
  HWND createControl(tk::Control &control, HWND parent, UINT id);
  void addTooltip(const tk::Control &control);
  [[nodiscard]] DWORD style() const;
  [[nodiscard]] DWORD exStyle() const;
  [[nodiscard]] SIZE outerSize() const;
  void fitOuterSize();
  [[nodiscard]] HWND parentOf(const tk::Control &control) const;
  void nameWindow();
  void place(const tk::Control &control);
  void show();
  void showText(const tk::Control &control);
  void setWindowText(HWND own, const std::wstring &text);
  void moveTooltip(const tk::Control &control);
  void showPanels(const tk::Control &control);
  void showValue(const tk::Control &control);
  void giveKeyboard();
  [[nodiscard]] static bool drawnAtOnce(const tk::Control &control, tk::Property property);
  void holdPainting();
  void keepPendingPaints();
  void keepPendingPaint(HWND window);
  void unpaintedBefore(const tk::Control &control, tk::Property property);
  [[nodiscard]] static HRGN placeIn(HWND own, HWND parent);
  void invalidate(const tk::Control &control);
  [[nodiscard]] Canvas canvas(HDC dc) const;

  tk::Form &form_;
  Win32Backend &backend_;
  Site site_;
  HWND window_ = nullptr;
  HWND mdiClient_ = nullptr;
  HWND tooltip_ = nullptr;
  UINT dpi_;
  std::vector<Item> items_; // one per control, in design order; its place + 1 is its id
  std::unordered_map<const tk::Control *, std::size_t> places_;
  std::vector<std::wstring> panelTexts_;
  bool syncing_ = false; // the program sets a text: no edit of the child's
  bool charTaken_ = false;
  bool paintingHeld_ = false; // a handler is changing the form: nothing is drawn yet
  std::vector<Unpainted> unpainted_;
  std::vector<const tk::Control *> moved_;   // windows whose new places are drawn too
  std::vector<const tk::Control *> renamed_; // names to set once the handler has returned
  Utf16Joiner typing_;
};

// The window procedures: of the main window, of the forms' windows and the containers in
// them, and of Windows' own controls in place of their class's.
LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK formProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace w32
