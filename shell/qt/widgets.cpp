#include "widgets.h"

#include "pictures.h"
#include "toolkit/accessibility.h"
#include "toolkit/edges.h"
#include "toolkit/keys.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace qtb {
namespace {

Qt::Alignment qtAlignment(tk::Align align) {
  switch (align) {
  case tk::Align::Centre:
    return Qt::AlignHCenter;
  case tk::Align::Right:
    return Qt::AlignRight;
  case tk::Align::Left:
    break;
  }
  return Qt::AlignLeft;
}

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

// The keys that type a digit in a box that takes digit keys, by their XKB key codes:
// the number row 1 .. 9, 0, and the keypad in its rows 7 8 9, 4 5 6, 1 2 3, 0.
constexpr std::array<std::pair<quint32, int>, 20> digitKeys{{
    {10, 1}, {11, 2}, {12, 3}, {13, 4}, {14, 5}, {15, 6}, {16, 7}, {17, 8}, {18, 9}, {19, 0},
    {79, 7}, {80, 8}, {81, 9}, {83, 4}, {84, 5}, {85, 6}, {87, 1}, {88, 2}, {89, 3}, {90, 0},
}};

// The keys that make shortcuts rather than text keep their meaning.
constexpr Qt::KeyboardModifiers shortcutModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

QRectF toQRectF(const tk::Rect &r) {
  return {r.left, r.top, r.width, r.height};
}

tk::Rect fromQRect(const QRect &r) {
  return {static_cast<float>(r.left()), static_cast<float>(r.top()), static_cast<float>(r.width()),
          static_cast<float>(r.height())};
}

// One band of an edge is one of Qt's pixels, which the display's ratio scales.
constexpr float bandWidth = 1;

// Fills the bands of an edge round the box; returns what lies inside it.
QRect paintEdge(QPainter &painter, tk::Edge edge, const QRect &box) {
  for (const tk::Band &band : tk::edgeBands(edge, fromQRect(box), bandWidth)) {
    painter.fillRect(toQRectF(band.rect), toQColor(band.color));
  }
  return toQRectF(tk::insideEdge(edge, fromQRect(box), bandWidth)).toRect();
}

void paintFocusRing(QWidget &widget) {
  if (!widget.hasFocus()) {
    return;
  }
  QPainter painter(&widget);
  const int pixels = tk::focusRing.pixels;
  QRect ring = widget.rect();
  for (const tk::Color colour : {tk::focusRing.outer, tk::focusRing.inner}) {
    QPainterPath path;
    path.addRect(ring);
    path.addRect(ring.adjusted(pixels, pixels, -pixels, -pixels));
    painter.fillPath(path, toQColor(colour));
    ring.adjust(pixels, pixels, -pixels, -pixels);
  }
}

// The designs name Windows fonts; Debian ships look-alikes. They are asked for by their own
// names: Qt, asked for a font it does not have, first searches every installed font for one
// that could stand in, before the look-alike it is told of.
struct LookAlike {
  std::string_view design;
  const char *family;
  const char *otherwise;
};
constexpr std::array<LookAlike, 3> lookAlikeFonts{{
    {"MS Sans Serif", "Liberation Sans", "DejaVu Sans"},
    {"Arial", "Liberation Sans", "DejaVu Sans"},
    {"Comic Sans MS", "Comic Neue", "DejaVu Sans"},
}};

// The families that stand for a font a design names; the first one installed draws.
QStringList lookAlikes(std::string_view designFont) {
  for (const LookAlike &lookAlike : lookAlikeFonts) {
    if (lookAlike.design == designFont) {
      return {QLatin1String(lookAlike.family), QLatin1String(lookAlike.otherwise)};
    }
  }
  return {QString::fromUtf8(designFont.data(), static_cast<qsizetype>(designFont.size()))};
}

} // namespace

tk::KeyDown keyDown(const QKeyEvent &event) {
  return {.code = keyCode(event).value_or(0),
          .digitAtPlace = digitAtKeyPosition(event.nativeScanCode()),
          .repeat = event.isAutoRepeat(),
          .shift = (event.modifiers() & Qt::ShiftModifier) != 0 || event.key() == Qt::Key_Backtab,
          .shortcut = (event.modifiers() & shortcutModifiers) != 0,
          // Qt hands an input method's text over as QInputMethodEvent, not as keys.
          .composing = false};
}

std::optional<int> digitAtKeyPosition(quint32 nativeScanCode) {
  for (const auto &[code, digit] : digitKeys) {
    if (code == nativeScanCode) {
      return digit;
    }
  }
  return std::nullopt;
}

int px(float twips) {
  return static_cast<int>(std::lround(twips / tk::twipsPerPixel));
}

QColor toQColor(tk::Color color) {
  return {color.red, color.green, color.blue};
}

QFont toQFont(const tk::Font &font) {
  QFont qfont;
  qfont.setFamilies(lookAlikes(font.name));
  qfont.setPointSizeF(font.points);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  return qfont;
}

std::optional<std::int16_t> keyCode(const QKeyEvent &event) {
  // Shift+Tab comes as a key of its own, with no text on some platforms.
  if (event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab) {
    return tk::key::tab;
  }
  const QList<uint> characters = event.text().toUcs4();
  if (characters.isEmpty()) {
    return std::nullopt;
  }
  return tk::keyCodeOf(static_cast<char32_t>(characters.front()));
}

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString captionText(std::string_view text) {
  QString caption = toQString(text);
  caption.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return caption;
}

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

void LabelWidget::paintEvent(QPaintEvent * /*event*/) {
  QPainter painter(this);
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
  setAlignment(qtAlignment(control.design().align) | Qt::AlignVCenter);
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
  setText(captionText(control_.text()).replace(QLatin1Char('&'), QStringLiteral("&&")));
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
  setToolTip(toQString(control.design().tooltip));
}

void PaintedWidget::paintEvent(QPaintEvent * /*event*/) {
  QPainter painter(this);
  switch (control_.kind()) {
  case tk::Kind::Frame:
    paintFrame(painter);
    break;
  case tk::Kind::PictureBox:
    paintPictureBox(painter);
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
      tk::layOutFrame(fromQRect(rect()), static_cast<float>(metrics.horizontalAdvance(caption)),
                      static_cast<float>(metrics.height()), bandWidth);
  paintEdge(painter, tk::Edge::Etched, toQRectF(frame.edge).toRect());
  if (frame.captionBox) {
    painter.fillRect(toQRectF(*frame.captionBox), toQColor(control_.backColor()));
    painter.setPen(toQColor(control_.foreColor()));
    painter.drawText(QPointF(frame.textLeft, metrics.ascent()), caption);
  }
}

void PaintedWidget::paintPictureBox(QPainter &painter) const {
  painter.fillRect(rect(), toQColor(control_.backColor()));
  const int border = px(control_.innerOffset());
  painter.drawPixmap(border, border, picture(control_.design().picture, devicePixelRatioF()));
  paintEdge(painter, tk::Edge::Sunken, rect());
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
