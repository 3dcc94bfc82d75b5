#include "pictures.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QString>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <map>
#include <memory>
#include <string>
#include <utility>

// Outside any namespace, as Qt's resource initialisation requires.
static void initialisePictures() {
  Q_INIT_RESOURCE(pictures);
}

namespace qtb {

void loadPictures() {
  initialisePictures();
}

namespace {

QString resourcePath(std::string_view name) {
  return QStringLiteral(":/pictures/") + QString::fromUtf8(name.data(), qsizetype(name.size())) +
         QStringLiteral(".svg");
}

QSvgRenderer *renderer(std::string_view name) {
  static std::map<std::string, std::unique_ptr<QSvgRenderer>, std::less<>> renderers;
  auto it = renderers.find(name);
  if (it == renderers.end()) {
    auto r = std::make_unique<QSvgRenderer>(resourcePath(name));
    if (!r->isValid()) {
      r.reset();
    }
    it = renderers.emplace(std::string(name), std::move(r)).first;
  }
  return it->second.get();
}

} // namespace

QSize pictureSize(std::string_view name) {
  if (name.empty()) {
    return {};
  }
  QSvgRenderer *r = renderer(name);
  return r != nullptr ? r->defaultSize() : QSize();
}

QPixmap picture(std::string_view name, qreal devicePixelRatio) {
  // Drawn once per size: a repaint only copies the pixels.
  static std::map<std::pair<std::string, qreal>, QPixmap, std::less<>> drawn;
  const auto key = std::make_pair(std::string(name), devicePixelRatio);
  if (auto it = drawn.find(key); it != drawn.end()) {
    return it->second;
  }
  QSvgRenderer *r = name.empty() ? nullptr : renderer(name);
  if (r == nullptr) {
    return {};
  }
  const QSize size = r->defaultSize();
  QPixmap pixmap(size * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  r->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
  painter.end();
  drawn.emplace(key, pixmap);
  return pixmap;
}

namespace {

// An icon drawn from one of our pictures at whatever size it is asked for, by the renderer
// the pictures share: no icon plugin to load, and the picture parsed only once.
class PictureIconEngine : public QIconEngine {
public:
  explicit PictureIconEngine(std::string name) : name_(std::move(name)) {}

  void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect,
                        pixmap(rect.size() * painter->device()->devicePixelRatioF(), mode, state));
  }

  QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State /*state*/) override {
    // Drawn once per size and mode: a repaint only copies the pixels.
    const QString key = QStringLiteral("picture:%1:%2x%3:%4")
                            .arg(QString::fromStdString(name_))
                            .arg(size.width())
                            .arg(size.height())
                            .arg(int(mode));
    QPixmap drawn;
    if (!QPixmapCache::find(key, &drawn)) {
      drawn = draw(size, mode);
      QPixmapCache::insert(key, drawn);
    }
    return drawn;
  }

  // What a window offers the window system for its icon: the picture's own size and half
  // of it, which title bars and task lists draw. Offered no size, X11 draws the picture at
  // 16, 32, 64 and 128 pixels before the window first shows, the large two ten times the
  // cost of the small.
  QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
    const QSize size = pictureSize(name_);
    if (size.isEmpty()) {
      return {};
    }
    return {size / 2, size};
  }

  [[nodiscard]] QIconEngine *clone() const override { return new PictureIconEngine(name_); }
  [[nodiscard]] QString key() const override { return QStringLiteral("honderdtafels-picture"); }
  bool isNull() override { return renderer(name_) == nullptr; }

private:
  [[nodiscard]] QPixmap draw(const QSize &size, QIcon::Mode mode) const {
    QSvgRenderer *r = renderer(name_);
    if (r == nullptr || size.isEmpty()) {
      return {};
    }
    QPixmap drawn(size);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    r->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    // A button that cannot be pressed greys its caption only: its picture shows as it is.
    if (mode == QIcon::Normal || mode == QIcon::Disabled) {
      return drawn;
    }
    // Highlighted as the style draws every other icon.
    QStyleOption option;
    option.palette = QApplication::palette();
    return QApplication::style()->generatedIconPixmap(mode, drawn, &option);
  }

  std::string name_;
};

} // namespace

QIcon pictureIcon(std::string_view name) {
  // Drawn at each size only when that size is first asked for.
  return QIcon(new PictureIconEngine(std::string(name)));
}

} // namespace qtb
