#include "widgets.h"

#include "mapping.h"
#include "pictures.h"
#include "toolkit/accessibility.h"
#include "toolkit/edges.h"
#include "toolkit/keys.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace qtb {
namespace {

void setColors(QWidget &widget, QPalette::ColorRole back, QPalette::ColorRole fore,
               const tk::Control &control) {
  QPalette palette = widget.palette();
  palette.setColor(back, toQColor(control.backColor()));
  palette.setColor(fore, toQColor(control.foreColor()));
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, back, toQColor(control.backColor()));
  }
  widget.setPalette(palette);
}

// One band of an edge is one of Qt's pixels, which the display's ratio scales.
constexpr float bandWidth = 1;

// Fills the bands of an edge round the box; returns what lies inside it.
QRect paintEdge(QPainter &painter, tk::Edge edge, const QRect &box) {
  for (const tk::Band &band : tk::edgeBands(edge, fromQRectF(box), bandWidth)) {
    painter.fillRect(toQRectF(band.rect), toQColor(band.color));
  }
  return toQRectF(tk::insideEdge(edge, fromQRectF(box), bandWidth)).toRect();
}

void paintFocusRing(QWidget &widget) {
  if (!widget.hasFocus()) {
    return;
  }
  QPainter painter(&widget);
  const int pixels = tk::focusRing.pixels;
  QRect ring = widget.rect();
  // Each ring as its four sides: the caret's blink repaints the box twice a second.
  for (const tk::Color colour : {tk::focusRing.outer, tk::focusRing.inner}) {
    const QColor qcolour = toQColor(colour);
    const int sideHeight = ring.height() - 2 * pixels;
    painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), pixels), qcolour);
    painter.fillRect(QRect(ring.left(), ring.bottom() - pixels + 1, ring.width(), pixels), qcolour);
    painter.fillRect(QRect(ring.left(), ring.top() + pixels, pixels, sideHeight), qcolour);
    painter.fillRect(QRect(ring.right() - pixels + 1, ring.top() + pixels, pixels, sideHeight),
                     qcolour);
    ring.adjust(pixels, pixels, -pixels, -pixels);
  }
}

} // namespace

LabelWidget::LabelWidget(const tk::Control &control, QWidget *parent)
    : QLabel(parent), control_(control) {
  setFont(toQFont(control.design().font));
  setTextFormat(Qt::PlainText);
  setAutoFillBackground(!control.design().transparent);
  if (control.design().border) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
  }
  setToolTip(toQString(control.design().tooltip));
  sync();
}

void LabelWidget::sync() {
  setText(captionText(control_.text()));
  setColors(*this, QPalette::Window, QPalette::WindowText, control_);
  update();
}

void LabelWidget::setBackdrop(std::optional<QColor> colour) {
  if (colour == backdrop_) {
    return;
  }
  backdrop_ = colour;
  setAttribute(Qt::WA_OpaquePaintEvent, backdrop_.has_value());
  update();
}

void LabelWidget::paintEvent(QPaintEvent * /*event*/) {
  QPainter painter(this);
  if (backdrop_) {
    painter.fillRect(rect(), *backdrop_);
  }
  drawFrame(&painter);
  // The lines as they were laid out, each where it stands: never wrapped again here.
  painter.setPen(palette().color(QPalette::WindowText));
  const float ascent = static_cast<float>(fontMetrics().ascent());
  const tk::CaptionLayout &caption = control_.caption();
  for (const tk::CaptionLine &line : caption.lines) {
    painter.drawText(QPointF((line.left - caption.bounds.left) / tk::twipsPerPixel,
                             line.top / tk::twipsPerPixel + ascent),
                     toQString(control_.captionLine(line)));
  }
}

TextBoxWidget::TextBoxWidget(const tk::Control &control, QWidget *parent)
    : QLineEdit(parent), control_(control) {
  setFont(toQFont(control.design().font));
  setAlignment(toQtAlignment(control.design().align) | Qt::AlignVCenter);
  if (!control.design().tabStop) {
    setFocusPolicy(Qt::ClickFocus);
  }
  sync();
}

void TextBoxWidget::keyPressEvent(QKeyEvent *event) {
  const tk::KeyDown down = keyDown(*event);
  if (tk::keyOnControl(control_, down) != tk::KeyEffect::TypeDigit) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const int digit = *down.digitAtPlace;
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_0 + digit, Qt::NoModifier, QString(QChar(u'0' + digit)),
                  event->isAutoRepeat());
  QLineEdit::keyPressEvent(&typed);
  event->setAccepted(typed.isAccepted());
}

void TextBoxWidget::paintEvent(QPaintEvent *event) {
  QLineEdit::paintEvent(event);
  paintFocusRing(*this);
}

void TextBoxWidget::sync() {
  const QString text = toQString(control_.text());
  if (this->text() != text) {
    setText(text);
  }
  setReadOnly(control_.locked());
  setColors(*this, QPalette::Base, QPalette::Text, control_);
}

ButtonWidget::ButtonWidget(const tk::Control &control, QWidget *parent)
    : QToolButton(parent), control_(control) {
  const tk::ControlDesign &design = control.design();
  setFont(toQFont(design.font));
  setAutoRaise(false);
  if (!design.picture.empty()) {
    setIcon(pictureIcon(design.picture));
    pictureSize_ = pictureSize(design.picture);
    setIconSize(pictureSize_);
  }
  setToolButtonStyle(design.picture.empty() ? Qt::ToolButtonTextOnly
                     : design.text.empty()  ? Qt::ToolButtonIconOnly
                                            : Qt::ToolButtonTextUnderIcon);
  setToolTip(toQString(design.tooltip));
  if (!design.tabStop) {
    setFocusPolicy(Qt::ClickFocus);
  } else {
    setFocusPolicy(Qt::StrongFocus);
  }
  sync();
}

void ButtonWidget::keyPressEvent(QKeyEvent *event) {
  switch (tk::keyOnControl(control_, keyDown(*event))) {
  case tk::KeyEffect::Press:
    event->accept();
    click();
    return;
  case tk::KeyEffect::Swallow:
    event->accept();
    return;
  case tk::KeyEffect::TypeDigit:
  case tk::KeyEffect::Default:
    break;
  }
  QToolButton::keyPressEvent(event);
}

void ButtonWidget::resizeEvent(QResizeEvent *event) {
  QToolButton::resizeEvent(event);
  if (pictureSize_.isEmpty() || toolButtonStyle() != Qt::ToolButtonTextUnderIcon) {
    return;
  }
  constexpr int margins = 8;
  const int room = height() - fontMetrics().height() - margins;
  const int side = std::clamp(room, 1, pictureSize_.height());
  setIconSize(pictureSize_.scaled(pictureSize_.width(), side, Qt::KeepAspectRatio));
}

void ButtonWidget::paintEvent(QPaintEvent *event) {
  QToolButton::paintEvent(event);
  {
    QPainter painter(this);
    paintEdge(painter, isDown() ? tk::Edge::Pressed : tk::Edge::Raised, rect());
  }
  paintFocusRing(*this);
}

void ButtonWidget::sync() {
  setText(buttonText(control_.text()));
  setColors(*this, QPalette::Button, QPalette::ButtonText, control_);
  // A flat face in the button's own colour, with room for the edge painted over it, and
  // the focus ring over that.
  const QColor face = toQColor(control_.backColor());
  setStyleSheet(QStringLiteral("QToolButton { background-color: %1; color: %2;"
                               " border: 2px solid %1; }"
                               " QToolButton:disabled { color: %3; }")
                    .arg(face.name(), toQColor(control_.foreColor()).name(),
                         toQColor(tk::disabledText).name()));
}

PaintedWidget::PaintedWidget(const tk::Control &control, QWidget *parent)
    : QWidget(parent), control_(control) {
  if (control.kind() == tk::Kind::Shape || control.kind() == tk::Kind::Line) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  // A picture box fills all of itself: Qt then draws what changes inside it from the box
  // down, without the window's other controls.
  if (control.kind() == tk::Kind::PictureBox) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  setToolTip(toQString(control.design().tooltip));
}

void PaintedWidget::paintEvent(QPaintEvent *event) {
  QPainter painter(this);
  switch (control_.kind()) {
  case tk::Kind::Frame:
    paintFrame(painter);
    break;
  case tk::Kind::PictureBox:
    paintPictureBox(painter, event->rect());
    break;
  case tk::Kind::Image:
    painter.drawPixmap(0, 0, picture(control_.design().picture, devicePixelRatioF()));
    break;
  case tk::Kind::Shape:
    paintShape(painter);
    break;
  case tk::Kind::Line:
    paintLine(painter);
    break;
  default:
    break;
  }
}

void PaintedWidget::paintFrame(QPainter &painter) const {
  painter.fillRect(rect(), toQColor(control_.backColor()));
  const QString caption = captionText(control_.text());
  // The caption in the frame's own font and colour, as its design gives them.
  painter.setFont(toQFont(control_.design().font));
  const QFontMetrics metrics(painter.font());
  const tk::FrameLayout frame =
      tk::layOutFrame(fromQRectF(rect()), static_cast<float>(metrics.horizontalAdvance(caption)),
                      static_cast<float>(metrics.height()), bandWidth);
  paintEdge(painter, tk::Edge::Etched, toQRectF(frame.edge).toRect());
  if (frame.captionBox) {
    painter.fillRect(toQRectF(*frame.captionBox), toQColor(control_.backColor()));
    painter.setPen(toQColor(control_.foreColor()));
    painter.drawText(QPointF(frame.textLeft, metrics.ascent()), caption);
  }
}

void PaintedWidget::paintPictureBox(QPainter &painter, const QRect &dirty) const {
  painter.fillRect(rect(), toQColor(control_.backColor()));
  const int border = px(control_.innerOffset());
  painter.drawPixmap(border, border, picture(control_.design().picture, devicePixelRatioF()));
  // What a moving label uncovers inside the box leaves its border as it stands.
  const QRect inside =
      toQRectF(tk::insideEdge(tk::Edge::Sunken, fromQRectF(rect()), bandWidth)).toRect();
  if (!inside.contains(dirty)) {
    paintEdge(painter, tk::Edge::Sunken, rect());
  }
}

void PaintedWidget::paintShape(QPainter &painter) const {
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal pen = control_.design().borderPixels;
  const QRectF inside = QRectF(rect()).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
  painter.setPen(QPen(toQColor(control_.foreColor()), pen));
  painter.setBrush(toQColor(control_.backColor()));
  if (control_.design().shape == tk::ShapeStyle::RoundedRectangle) {
    painter.drawRoundedRect(inside, tk::cornerRadius, tk::cornerRadius);
  } else {
    painter.drawRect(inside);
  }
}

void PaintedWidget::paintLine(QPainter &painter) const {
  const tk::LineEnds &ends = control_.line();
  const int left = px(std::min(ends.x1, ends.x2));
  const int top = px(std::min(ends.y1, ends.y2));
  painter.setPen(toQColor(control_.foreColor()));
  painter.drawLine(px(ends.x1) - left, px(ends.y1) - top, px(ends.x2) - left, px(ends.y2) - top);
}

StatusBarWidget::StatusBarWidget(const tk::Control &control, QWidget *parent)
    : QWidget(parent), control_(control) {
  setFont(toQFont(control.design().font));
}

void StatusBarWidget::paintEvent(QPaintEvent * /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  for (int part = 0; part < static_cast<int>(control_.panels().size()); ++part) {
    const tk::StatusPanel &panel = control_.panels()[static_cast<std::size_t>(part)];
    const tk::PixelRect r = control_.panelRect(part);
    const QRect box(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    const QRect inside = paintEdge(painter, tk::Edge::Thin, box);
    const QString text = toQString(panel.text);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(inside.adjusted(tk::panelTextLeft, 0, -tk::panelTextRight, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
  }
}

} // namespace qtb
