#include "png.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <string_view>
#include <utility>

namespace w32 {
namespace {

constexpr std::array<std::uint8_t, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The kinds of picture rsvg-convert writes: red, green and blue, with alpha unless every
// pixel is opaque.
constexpr std::uint8_t rgbColourType = 2;
constexpr std::uint8_t rgbaColourType = 6;
constexpr std::uint8_t bitsPerSample = 8;
constexpr std::uint8_t maxAlpha = 255;

std::uint32_t bigEndian32(const std::uint8_t *at) {
  return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) | (std::uint32_t{at[2]} << 8) |
         std::uint32_t{at[3]};
}

// --- Deflate, as zlib stores it in the image data ---------------------------------------

constexpr int maxCodeBits = 15;
constexpr int literalCodes = 288;
constexpr int distanceCodes = 30;
constexpr int endOfBlock = 256;
constexpr int firstLengthCode = 257;
constexpr std::array<std::uint16_t, 29> lengthBase{3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                   15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                   67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> lengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                   2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> distanceBase{
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> distanceExtra{0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                     4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                     9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block gives the lengths of its code length code.
constexpr std::array<std::uint8_t, 19> codeLengthOrder{16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                       11, 4,  12, 3, 13, 2, 14, 1, 15};

// A canonical Huffman code: how many codes each length has, and the symbols in code order.
struct Huffman {
  std::array<std::uint16_t, maxCodeBits + 1> counts{};
  std::array<std::uint16_t, literalCodes> symbols{};
};

// The code for the symbols' lengths (0: no code); false for lengths that give more codes
// than there are.
bool makeCode(Huffman &code, std::span<const std::uint8_t> lengths) {
  code.counts = {};
  for (const std::uint8_t length : lengths) {
    ++code.counts[length];
  }
  int left = 1;
  for (int length = 1; length <= maxCodeBits; ++length) {
    left = 2 * left - code.counts[length];
    if (left < 0) {
      return false;
    }
  }
  std::array<std::uint16_t, maxCodeBits + 1> next{};
  for (int length = 1; length < maxCodeBits; ++length) {
    next[length + 1] = static_cast<std::uint16_t>(next[length] + code.counts[length]);
  }
  for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol) {
    if (lengths[symbol] != 0) {
      code.symbols[next[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);
    }
  }
  return true;
}

class Inflater {
public:
  Inflater(std::span<const std::uint8_t> in, std::size_t expected) : in_(in), expected_(expected) {
    out_.reserve(expected);
  }

  // The whole stream, or nothing if it is damaged or does not give the size expected.
  std::optional<std::vector<std::uint8_t>> run() {
    bool last = false;
    while (ok_ && !last) {
      last = bits(1) == 1;
      switch (bits(2)) {
      case 0:
        stored();
        break;
      case 1:
        fixed();
        break;
      case 2:
        dynamic();
        break;
      default:
        ok_ = false;
      }
    }
    if (!ok_ || out_.size() != expected_) {
      return std::nullopt;
    }
    return std::move(out_);
  }

private:
  int bits(int count) {
    while (held_ < count) {
      if (at_ == in_.size()) {
        ok_ = false;
        return 0;
      }
      buffer_ |= std::uint32_t{in_[at_++]} << held_;
      held_ += 8;
    }
    const auto value = static_cast<int>(buffer_ & ((1U << count) - 1));
    buffer_ >>= count;
    held_ -= count;
    return value;
  }

  int decode(const Huffman &code) {
    int first = 0; // the first code of this length
    int index = 0; // its symbol's place
    int value = 0;
    for (int length = 1; length <= maxCodeBits && ok_; ++length) {
      value |= bits(1);
      const int count = code.counts[length];
      if (value >= first && value - first < count) {
        return code.symbols[index + value - first];
      }
      index += count;
      first = (first + count) << 1;
      value <<= 1;
    }
    ok_ = false;
    return 0;
  }

  void put(std::uint8_t byte) {
    if (out_.size() == expected_) {
      ok_ = false;
      return;
    }
    out_.push_back(byte);
  }

  void stored() {
    buffer_ = 0; // a stored block starts on a whole byte
    held_ = 0;
    if (in_.size() - at_ < 4) {
      ok_ = false;
      return;
    }
    const unsigned length = in_[at_] | (in_[at_ + 1] << 8);
    const unsigned complement = in_[at_ + 2] | (in_[at_ + 3] << 8);
    at_ += 4;
    if (length != (~complement & 0xFFFFU) || in_.size() - at_ < length) {
      ok_ = false;
      return;
    }
    for (unsigned i = 0; i < length && ok_; ++i) {
      put(in_[at_++]);
    }
  }

  void fixed() {
    std::array<std::uint8_t, literalCodes> literalLengths{};
    for (int symbol = 0; symbol < literalCodes; ++symbol) {
      literalLengths[symbol] = symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
    }
    std::array<std::uint8_t, distanceCodes> distanceLengths{};
    distanceLengths.fill(5);
    Huffman literals;
    Huffman distances;
    makeCode(literals, literalLengths);
    makeCode(distances, distanceLengths);
    codes(literals, distances);
  }

  void dynamic() {
    const int literalCount = bits(5) + firstLengthCode;
    const int distanceCount = bits(5) + 1;
    const int lengthCount = bits(4) + 4;
    if (!ok_ || literalCount > 286 || distanceCount > distanceCodes) {
      ok_ = false;
      return;
    }
    std::array<std::uint8_t, codeLengthOrder.size()> lengthLengths{};
    for (int i = 0; i < lengthCount; ++i) {
      lengthLengths[codeLengthOrder[i]] = static_cast<std::uint8_t>(bits(3));
    }
    Huffman lengthCode;
    if (!makeCode(lengthCode, lengthLengths)) {
      ok_ = false;
      return;
    }
    std::array<std::uint8_t, 286 + distanceCodes> lengths{};
    int filled = 0;
    while (ok_ && filled < literalCount + distanceCount) {
      const int symbol = decode(lengthCode);
      if (symbol < 16) {
        lengths[filled++] = static_cast<std::uint8_t>(symbol);
        continue;
      }
      std::uint8_t repeated = 0;
      int times = 0;
      if (symbol == 16) {
        if (filled == 0) {
          ok_ = false;
          return;
        }
        repeated = lengths[filled - 1];
        times = 3 + bits(2);
      } else if (symbol == 17) {
        times = 3 + bits(3);
      } else {
        times = 11 + bits(7);
      }
      if (filled + times > literalCount + distanceCount) {
        ok_ = false;
        return;
      }
      while (times-- > 0) {
        lengths[filled++] = repeated;
      }
    }
    Huffman literals;
    Huffman distances;
    const std::span<const std::uint8_t> all(lengths.data(), filled);
    if (!ok_ || lengths[endOfBlock] == 0 || !makeCode(literals, all.first(literalCount)) ||
        !makeCode(distances, all.subspan(literalCount))) {
      ok_ = false;
      return;
    }
    codes(literals, distances);
  }

  // A block's literals and the copies of what came before, up to its end.
  void codes(const Huffman &literals, const Huffman &distances) {
    while (ok_) {
      const int symbol = decode(literals);
      if (symbol < endOfBlock) {
        put(static_cast<std::uint8_t>(symbol));
        continue;
      }
      if (symbol == endOfBlock) {
        return;
      }
      const auto lengthIndex = static_cast<std::size_t>(symbol - firstLengthCode);
      if (lengthIndex >= lengthBase.size()) {
        ok_ = false;
        return;
      }
      const int length = lengthBase[lengthIndex] + bits(lengthExtra[lengthIndex]);
      const auto distanceIndex = static_cast<std::size_t>(decode(distances));
      if (distanceIndex >= distanceBase.size()) {
        ok_ = false;
        return;
      }
      const auto distance = static_cast<std::size_t>(distanceBase[distanceIndex] +
                                                     bits(distanceExtra[distanceIndex]));
      if (distance > out_.size()) {
        ok_ = false;
        return;
      }
      for (int i = 0; i < length && ok_; ++i) {
        put(out_[out_.size() - distance]);
      }
    }
  }

  std::span<const std::uint8_t> in_;
  std::size_t at_ = 0;
  std::uint32_t buffer_ = 0;
  int held_ = 0;
  bool ok_ = true;
  std::size_t expected_;
  std::vector<std::uint8_t> out_;
};

// --- PNG ------------------------------------------------------------------------------------

struct Header {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::size_t bytesPerPixel = 0;
};

// The header of a picture this decoder reads: 8-bit RGB or RGBA, deflated, filtered per row,
// not interlaced.
std::optional<Header> readHeader(std::span<const std::uint8_t> data) {
  constexpr std::size_t headerSize = 13;
  constexpr std::uint32_t largest = 1U << 14; // pixels a side: far beyond any picture of ours
  if (data.size() != headerSize) {
    return std::nullopt;
  }
  const std::uint8_t colourType = data[9];
  const Header header{bigEndian32(data.data()), bigEndian32(data.data() + 4),
                      colourType == rgbaColourType ? 4U : 3U};
  const bool readable = data[8] == bitsPerSample &&
                        (colourType == rgbColourType || colourType == rgbaColourType) &&
                        data[10] == 0 && data[11] == 0 && data[12] == 0;
  if (!readable || header.width == 0 || header.height == 0 || header.width > largest ||
      header.height > largest) {
    return std::nullopt;
  }
  return header;
}

// zlib's wrapper around the deflated data: a header of two bytes, a checksum of four.
std::optional<std::vector<std::uint8_t>> inflateZlib(std::span<const std::uint8_t> data,
                                                     std::size_t expected) {
  constexpr unsigned deflateMethod = 8;
  constexpr unsigned presetDictionary = 0x20;
  if (data.size() < 6 || (data[0] & 0x0FU) != deflateMethod ||
      ((data[0] << 8) | data[1]) % 31 != 0 || (data[1] & presetDictionary) != 0) {
    return std::nullopt;
  }
  auto inflated = Inflater(data.subspan(2, data.size() - 6), expected).run();
  if (!inflated) {
    return std::nullopt;
  }
  constexpr std::uint32_t adlerModulus = 65521;
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const std::uint8_t byte : *inflated) {
    a = (a + byte) % adlerModulus;
    b = (b + a) % adlerModulus;
  }
  if (((b << 16) | a) != bigEndian32(data.data() + data.size() - 4)) {
    return std::nullopt;
  }
  return inflated;
}

std::uint8_t paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left);
  const int toUp = std::abs(estimate - up);
  const int toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) {
    return static_cast<std::uint8_t>(left);
  }
  return static_cast<std::uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// Undoes each row's filter in place, the row's filter byte before it; false for a filter
// that does not exist.
bool unfilter(std::vector<std::uint8_t> &rows, std::size_t rowBytes, std::size_t height,
              std::size_t bytesPerPixel) {
  for (std::size_t y = 0; y < height; ++y) {
    std::uint8_t *row = rows.data() + y * (rowBytes + 1) + 1;
    const std::uint8_t *above = y == 0 ? nullptr : row - (rowBytes + 1);
    const std::uint8_t filter = row[-1];
    for (std::size_t x = 0; x < rowBytes; ++x) {
      const int left = x < bytesPerPixel ? 0 : row[x - bytesPerPixel];
      const int up = above == nullptr ? 0 : above[x];
      const int upLeft = above == nullptr || x < bytesPerPixel ? 0 : above[x - bytesPerPixel];
      int predicted = 0;
      switch (filter) {
      case 0:
        break;
      case 1:
        predicted = left;
        break;
      case 2:
        predicted = up;
        break;
      case 3:
        predicted = (left + up) / 2;
        break;
      case 4:
        predicted = paeth(left, up, upLeft);
        break;
      default:
        return false;
      }
      row[x] = static_cast<std::uint8_t>(row[x] + predicted);
    }
  }
  return true;
}

std::uint32_t premultiplied(std::uint8_t colour, std::uint8_t alpha) {
  return (std::uint32_t{colour} * alpha + maxAlpha / 2) / maxAlpha;
}

} // namespace

std::optional<Pixels> decodePng(std::span<const std::uint8_t> file) {
  if (file.size() < signature.size() ||
      !std::equal(signature.begin(), signature.end(), file.begin())) {
    return std::nullopt;
  }
  std::optional<Header> header;
  std::vector<std::uint8_t> deflated;
  bool ended = false;
  for (std::size_t at = signature.size(); !ended;) {
    constexpr std::size_t framing = 12; // length, type, checksum
    if (file.size() - at < framing) {
      return std::nullopt;
    }
    const std::uint32_t length = bigEndian32(file.data() + at);
    if (file.size() - at - framing < length) {
      return std::nullopt;
    }
    const std::string_view type(reinterpret_cast<const char *>(file.data() + at + 4), 4);
    const auto data = file.subspan(at + 8, length);
    if (type == "IHDR") {
      header = readHeader(data);
      if (!header) {
        return std::nullopt;
      }
    } else if (type == "IDAT") {
      deflated.insert(deflated.end(), data.begin(), data.end());
    } else if (type == "IEND") {
      ended = true;
    }
    at += framing + length;
  }
  if (!header) {
    return std::nullopt;
  }
  const std::size_t bytesPerPixel = header->bytesPerPixel;
  const std::size_t rowBytes = std::size_t{header->width} * bytesPerPixel;
  auto rows = inflateZlib(deflated, (rowBytes + 1) * header->height);
  if (!rows || !unfilter(*rows, rowBytes, header->height, bytesPerPixel)) {
    return std::nullopt;
  }
  Pixels pixels{static_cast<int>(header->width), static_cast<int>(header->height), {}};
  pixels.argb.reserve(std::size_t{header->width} * header->height);
  for (std::size_t y = 0; y < header->height; ++y) {
    const std::uint8_t *p = rows->data() + y * (rowBytes + 1) + 1;
    for (std::size_t x = 0; x < header->width; ++x, p += bytesPerPixel) {
      const std::uint8_t alpha = bytesPerPixel == 4 ? p[3] : maxAlpha;
      pixels.argb.push_back((std::uint32_t{alpha} << 24) | (premultiplied(p[0], alpha) << 16) |
                            (premultiplied(p[1], alpha) << 8) | premultiplied(p[2], alpha));
    }
  }
  return pixels;
}

} // namespace w32
