#include "caption.h"

#include <algorithm>

namespace tk {
namespace {

constexpr float twipsPerPoint = 20.0F;

bool startsCodePoint(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0U) != 0x80U;
}

// The end of the next code point after `at`.
std::size_t nextCodePoint(std::string_view text, std::size_t at) {
  ++at;
  while (at < text.size() && !startsCodePoint(text[at])) {
    ++at;
  }
  return at;
}

class Breaker {
public:
  Breaker(std::string_view text, const CaptionBox &box, float lineHeight,
          const MeasureText &measure)
      : text_(text), box_(box), lineHeight_(lineHeight), measure_(measure),
        room_(box.width + captionSlack) {}

  std::vector<CaptionLine> lines() {
    std::size_t at = 0;
    while (at <= text_.size() && !full()) {
      const std::size_t end = std::min(text_.find_first_of("\r\n", at), text_.size());
      paragraph(at, end);
      at = end + (text_.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return std::move(lines_);
  }

private:
  [[nodiscard]] bool wraps() const { return box_.wordWrap || !box_.autoSize; }
  // A box that does not grow shows no line that starts below its bottom.
  [[nodiscard]] bool full() const {
    return !box_.autoSize && static_cast<float>(lines_.size()) * lineHeight_ >= box_.height;
  }
  [[nodiscard]] float width(std::size_t start, std::size_t end) const {
    return measure_(text_.substr(start, end - start));
  }
  [[nodiscard]] bool fits(std::size_t start, std::size_t end) const {
    return width(start, end) <= room_;
  }

  void add(std::size_t start, std::size_t end) {
    lines_.push_back({.start = start,
                      .length = end - start,
                      .top = static_cast<float>(lines_.size()) * lineHeight_,
                      .width = end > start ? width(start, end) : 0.0F});
  }

  void paragraph(std::size_t start, std::size_t end) {
    if (!wraps()) {
      add(start, end);
      return;
    }
    do {
      start = line(start, end);
    } while (start < end && !full());
  }

  // Lays one line from `start`; returns where the next one starts.
  std::size_t line(std::size_t start, std::size_t end) {
    std::size_t taken = start; // the end of the last word that fits
    std::size_t at = start;
    while (at < end) {
      const std::size_t wordEnd = std::min(text_.find(' ', text_.find_first_not_of(' ', at)), end);
      if (!fits(start, wordEnd)) {
        break;
      }
      taken = wordEnd;
      at = wordEnd;
    }
    if (at >= end) {
      add(start, end);
      return end;
    }
    if (taken == start) {
      taken = brokenWord(start, end);
      add(start, taken);
      return taken;
    }
    add(start, taken);
    return std::min(text_.find_first_not_of(' ', taken), end);
  }

  // The end of the longest start of a word that fits, at least one character.
  std::size_t brokenWord(std::size_t start, std::size_t end) const {
    std::vector<std::size_t> ends;
    for (std::size_t at = nextCodePoint(text_, start); at <= end; at = nextCodePoint(text_, at)) {
      ends.push_back(at);
      if (at == end) {
        break;
      }
    }
    const auto fitting = std::partition_point(ends.begin(), ends.end(),
                                              [&](std::size_t at) { return fits(start, at); });
    return fitting == ends.begin() ? ends.front() : *std::prev(fitting);
  }

  std::string_view text_;
  const CaptionBox &box_;
  float lineHeight_;
  const MeasureText &measure_;
  float room_;
  std::vector<CaptionLine> lines_;
};

float placeOf(float width, float room, Align align) {
  switch (align) {
  case Align::Centre:
    return (room - width) * 0.5F;
  case Align::Right:
    return room - width;
  case Align::Left:
    break;
  }
  return 0;
}

} // namespace

float lineHeight(const Font &font) {
  return font.points * twipsPerPoint * lineSpacing;
}

CaptionLayout layOutCaption(std::string_view text, const CaptionBox &box, float lineHeight,
                            const MeasureText &measure) {
  CaptionLayout layout;
  layout.width = box.width;
  layout.height = box.height;
  if (!text.empty()) {
    layout.lines = Breaker(text, box, lineHeight, measure).lines();
  }
  float widest = 0;
  for (const CaptionLine &line : layout.lines) {
    widest = std::max(widest, line.width);
  }
  if (box.autoSize) {
    layout.height = std::max(box.height, static_cast<float>(layout.lines.size()) * lineHeight);
    if (!box.wordWrap) {
      layout.width = std::max(box.width, widest);
    }
  }
  float left = 0;
  float right = layout.width;
  for (CaptionLine &line : layout.lines) {
    line.left = placeOf(line.width, layout.width, box.align);
    left = std::min(left, line.left);
    right = std::max(right, line.left + line.width);
  }
  layout.bounds = {left, 0, right - left, layout.height};
  return layout;
}

} // namespace tk
