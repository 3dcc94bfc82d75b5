// The Qt backend: mirrors the toolkit's forms as Qt windows and widgets, feeds Qt's
// input, activation and time back into the toolkit, and provides its services.
#pragma once

#include "toolkit/closing_windows.h"
#include "toolkit/desktop.h"
#include "toolkit/form_views.h"
#include "toolkit/random.h"
#include "toolkit/timesource.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QTimer>

#include <functional>

class QFocusEvent;
class QMdiArea;

namespace qtb {

class FormView;

// Every screen keeps its designed place and frame only where a program may place its
// own windows. On a Wayland desktop that also offers an X display (XWayland) the
// program therefore runs as an X client, unless the user chose a platform (the
// QT_QPA_PLATFORM variable or -platform). Call it before the QApplication is made.
void preferPlaceableWindows(int argc, const char *const argv[]);

class QtBackend : public QObject,
                  public tk::ViewingWindowSystem<QtBackend, FormView>,
                  public tk::Services {
public:
  // The program runs on the steady clock; a test may hand in a clock it advances.
  explicit QtBackend(const tk::Clock *clock = nullptr);
  ~QtBackend() override;
  QtBackend(const QtBackend &) = delete;
  QtBackend &operator=(const QtBackend &) = delete;

  [[nodiscard]] const tk::Clock &clock() const { return *clock_; }
  void attach(tk::Desktop &desktop);
  [[nodiscard]] tk::Desktop &desktop() const { return *desktop_; }

  [[nodiscard]] FormView *view(const tk::Form &form) const;
  [[nodiscard]] QMdiArea *mdiArea() const;
  // Destroys a form's window, once no event of it is running any more.
  void destroy(QWidget *window);

  // What ending the program does after every window is closed; quits the event loop
  // unless a test replaces it.
  std::function<void()> onEnd;

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

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  [[nodiscard]] FormView *viewOwning(QWidget *widget) const;
  bool mouseMoved(QWidget *widget, QEvent *event);
  bool keyPressed(QWidget *widget, QEvent *event);
  void focusMoved(QWidget *widget, QFocusEvent *event);

  tk::SteadyClock steadyClock_;
  const tk::Clock *clock_;
  QTimer timer_;
  tk::TimeSource timeSource_;
  tk::Desktop *desktop_ = nullptr;
  tk::ClosingWindows<QPointer<QWidget>> closing_;
  tk::UniformRandom random_;
  quint64 lastMoveStamp_ = 0;
  QPointF lastMovePoint_;
};

} // namespace qtb
