#include "pictures.h"

#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <map>
#include <memory>
#include <string>

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
  return pixmap;
}

QIcon pictureIcon(std::string_view name) {
  QIcon icon;
  for (const qreal ratio : {1.0, 2.0}) {
    icon.addPixmap(picture(name, ratio));
  }
  return icon;
}

} // namespace qtb
