// One Qt widget per kind of control. Each draws the control it was made for.
#pragma once

#include "toolkit/control.h"
#include "toolkit/keys.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include <optional>

namespace qtb {

class LabelWidget : public QLabel {
public:
  LabelWidget(const tk::Control &control, QWidget *parent);
  void sync();
  // A transparent label over one plain colour paints that colour under its text and is
  // opaque to Qt, which then moves it by copying its pixels; none paints no background.
  void setBackdrop(std::optional<QColor> colour);

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  const tk::Control &control_;
  std::optional<QColor> backdrop_;
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
  void paintPictureBox(QPainter &painter, const QRect &dirty) const;
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
