// One Qt widget per kind of control. Each draws the control it was made for.
#pragma once

#include "toolkit/control.h"
#include "toolkit/keys.h"

#include <QColor>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QToolButton>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <string_view>

namespace qtb {

[[nodiscard]] int px(float twips);
[[nodiscard]] QColor toQColor(tk::Color color);
// The font a design names, or the look-alike that stands for it.
[[nodiscard]] QFont toQFont(const tk::Font &font);
[[nodiscard]] QString toQString(std::string_view text);
// The character code of a typed key, as the toolkit's KeyPress counts it; none for keys
// that type nothing (arrows, function keys).
[[nodiscard]] std::optional<std::int16_t> keyCode(const QKeyEvent &event);
// A key going down, as the toolkit's key rules read it.
[[nodiscard]] tk::KeyDown keyDown(const QKeyEvent &event);
// Multi-line captions break lines with CR LF; Qt wants a bare line feed.
[[nodiscard]] QString captionText(std::string_view text);

// The digit of the key at a place of the number row or the keypad, by the key's XKB key
// code (Qt's native scan code on X11 and Wayland); nothing for any other key.
[[nodiscard]] std::optional<int> digitAtKeyPosition(quint32 nativeScanCode);

class LabelWidget : public QLabel {
public:
  LabelWidget(const tk::Control &control, QWidget *parent);
  void sync();

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  const tk::Control &control_;
};

class TextBoxWidget : public QLineEdit {
public:
  TextBoxWidget(const tk::Control &control, QWidget *parent);
  void sync();

protected:
  // A box that takes digit keys types the digit of the key's place, whatever the layout.
  void keyPressEvent(QKeyEvent *event) override;
  void paintEvent(QPaintEvent *event) override;

private:
  const tk::Control &control_;
};

class ButtonWidget : public QToolButton {
public:
  ButtonWidget(const tk::Control &control, QWidget *parent);
  void sync();

protected:
  // Space and Enter press the button (the toolkit's rule), and only this button.
  void keyPressEvent(QKeyEvent *event) override;
  // The picture keeps its own size unless the caption under it would not fit.
  void resizeEvent(QResizeEvent *event) override;
  void paintEvent(QPaintEvent *event) override;

private:
  const tk::Control &control_;
  QSize pictureSize_;
};

// Frames, picture boxes, images, shapes and lines draw themselves.
class PaintedWidget : public QWidget {
public:
  PaintedWidget(const tk::Control &control, QWidget *parent);
  void sync() { update(); }
  [[nodiscard]] const tk::Control &control() const { return control_; }

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  void paintFrame(QPainter &painter) const;
  void paintPictureBox(QPainter &painter) const;
  void paintShape(QPainter &painter) const;
  void paintLine(QPainter &painter) const;

  const tk::Control &control_;
};

// The status bar draws its panels where the toolkit lays them out, with a live date and
// time; it wakes once a minute, only while it is shown.
class StatusBarWidget : public QWidget {
public:
  StatusBarWidget(const tk::Control &control, QWidget *parent);
  void sync() { update(); }

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  const tk::Control &control_;
};

} // namespace qtb
