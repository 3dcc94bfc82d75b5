#include "edges.h"

#include <array>
#include <cmath>

namespace tk {
namespace {

struct EdgeDesign {
  Edge edge;
  std::array<EdgeRing, 2> rings; // from the outside in
  int count;
};

using namespace edgeColor;

constexpr std::array<EdgeDesign, 5> edgeDesigns{{
    {Edge::Raised, {{{light, dark}, {std::nullopt, shadow}}}, 2},
    {Edge::Pressed, {{{dark, light}, {shadow, std::nullopt}}}, 2},
    {Edge::Sunken, {{{shadow, light}, {dark, std::nullopt}}}, 2},
    {Edge::Etched, {{{shadow, light}, {light, shadow}}}, 2},
    {Edge::Thin, {{{shadow, light}, {}}}, 1},
}};

const EdgeDesign &designOf(Edge edge) {
  for (const EdgeDesign &d : edgeDesigns) {
    if (d.edge == edge) {
      return d;
    }
  }
  return edgeDesigns.front();
}

Rect shrunk(const Rect &box, float by) {
  return {box.left + by, box.top + by, box.width - 2 * by, box.height - 2 * by};
}

// The top and left strips stop short of the far corners, which belong to the bottom and
// right ones, as the classic desktop draws them.
void addRing(std::vector<Band> &bands, const EdgeRing &ring, const Rect &r, float unit) {
  if (ring.topLeft) {
    bands.push_back({{r.left, r.top, r.width - unit, unit}, *ring.topLeft});
    bands.push_back({{r.left, r.top + unit, unit, r.height - 2 * unit}, *ring.topLeft});
  }
  if (ring.bottomRight) {
    bands.push_back({{r.left, r.top + r.height - unit, r.width, unit}, *ring.bottomRight});
    bands.push_back({{r.left + r.width - unit, r.top, unit, r.height - unit}, *ring.bottomRight});
  }
}

} // namespace

std::span<const EdgeRing> edgeRings(Edge edge) {
  const EdgeDesign &design = designOf(edge);
  return std::span(design.rings).first(static_cast<std::size_t>(design.count));
}

std::vector<Band> edgeBands(Edge edge, const Rect &box, float unit) {
  std::vector<Band> bands;
  float inset = 0;
  for (const EdgeRing &ring : edgeRings(edge)) {
    addRing(bands, ring, shrunk(box, inset), unit);
    inset += unit;
  }
  return bands;
}

Rect insideEdge(Edge edge, const Rect &box, float unit) {
  return shrunk(box, static_cast<float>(edgeRings(edge).size()) * unit);
}

FrameLayout layOutFrame(const Rect &box, float captionWidth, float captionHeight, float unit) {
  if (captionWidth <= 0) {
    return {box, std::nullopt, 0};
  }
  const float lowered = std::floor(captionHeight / 2);
  const float indent = frameCaptionIndent * unit;
  const float padding = frameCaptionPadding * unit;
  return {{box.left, box.top + lowered, box.width, box.height - lowered},
          Rect{box.left + indent, box.top, captionWidth + 2 * padding, captionHeight},
          box.left + indent + padding};
}

} // namespace tk
