#include "pictures.h"

#include <QPainter>
#include <QString>
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

QIcon pictureIcon(std::string_view name) {
  // The SVG icon engine draws each size only when it is first asked for.
  return QIcon(resourcePath(name));
}

} // namespace qtb
