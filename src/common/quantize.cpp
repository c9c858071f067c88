#include "common/quantize.h"

#include <algorithm>
#include <array>
#include <memory>

namespace vardo {
namespace {

constexpr size_t kMaxColours = 256;
constexpr uint32_t kRgbMask = 0x00FFFFFF;

// Exact path: an open-addressing set of the distinct colours seen so far.
// Returns false as soon as a 257th colour turns up.
bool QuantizeExact(const uint32_t* pixels, size_t count, QuantizedImage& out) {
  constexpr size_t kSlots = 1024;  // power of two, well above 256
  constexpr uint32_t kEmpty = 0xFFFFFFFF;  // never a masked colour
  std::array<uint32_t, kSlots> keys;
  std::array<uint8_t, kSlots> values{};
  keys.fill(kEmpty);
  out.palette.clear();
  out.indices.resize(count);
  uint32_t last = kEmpty;
  uint8_t last_index = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t c = pixels[i] & kRgbMask;
    if (c != last) {
      size_t slot = (c * 2654435761u) >> 22;  // top 10 bits of a Fibonacci hash
      while (keys[slot] != kEmpty && keys[slot] != c) slot = (slot + 1) & (kSlots - 1);
      if (keys[slot] == kEmpty) {
        if (out.palette.size() == kMaxColours) return false;
        keys[slot] = c;
        values[slot] = static_cast<uint8_t>(out.palette.size());
        out.palette.push_back(c);
      }
      last = c;
      last_index = values[slot];
    }
    out.indices[i] = last_index;
  }
  return true;
}

// The distinct colours of a picture with their pixel counts, in order of
// first appearance, as long as there are at most kLimit of them: an
// open-addressing table at most half full.
class ColourTable {
 public:
  static constexpr size_t kLimit = 16384;

  // False as soon as a colour beyond the limit turns up.
  bool Count(const uint32_t* pixels, size_t count) {
    uint32_t last = kEmpty;
    size_t last_entry = 0;
    for (size_t i = 0; i < count; ++i) {
      const uint32_t c = pixels[i] & kRgbMask;
      if (c != last) {
        const size_t slot = Find(c);
        if (keys_[slot] == kEmpty) {
          if (colours_.size() == kLimit) return false;
          keys_[slot] = c;
          entry_[slot] = static_cast<uint16_t>(colours_.size());
          colours_.push_back(c);
          weights_.push_back(0);
        }
        last = c;
        last_entry = entry_[slot];
      }
      ++weights_[last_entry];
    }
    return true;
  }

  size_t size() const { return colours_.size(); }
  uint32_t colour(size_t entry) const { return colours_[entry]; }
  uint64_t weight(size_t entry) const { return weights_[entry]; }
  // The entry of a colour that was counted.
  size_t EntryOf(uint32_t c) const { return entry_[Find(c & kRgbMask)]; }

 private:
  static constexpr size_t kSlots = 2 * kLimit;  // power of two
  static constexpr uint32_t kEmpty = 0xFFFFFFFF;  // never a masked colour

  size_t Find(uint32_t c) const {
    size_t slot = (c * 2654435761u) >> 17;  // top 15 bits of a Fibonacci hash
    while (keys_[slot] != kEmpty && keys_[slot] != c) slot = (slot + 1) & (kSlots - 1);
    return slot;
  }

  std::vector<uint32_t> keys_ = std::vector<uint32_t>(kSlots, kEmpty);
  std::vector<uint16_t> entry_ = std::vector<uint16_t>(kSlots, 0);
  std::vector<uint32_t> colours_;
  std::vector<uint64_t> weights_;
};

constexpr int kBinBits = 5;
constexpr int kBins = 1 << (3 * kBinBits);

inline int BinOf(uint32_t c) {
  return static_cast<int>(((c >> 19) & 0x1F) << 10 | ((c >> 11) & 0x1F) << 5 | ((c >> 3) & 0x1F));
}

// One colour to be placed: a distinct colour of the picture, or an occupied
// histogram cell with the mean colour of the pixels that fell into it; with
// its pixel count and where it came from (table entry or histogram bin).
struct Cell {
  uint64_t weight;
  double c[3];
  int source;
};

struct Box {
  size_t begin, end;  // range of cells
  double error;       // weighted squared spread round the mean
  int axis;           // channel with the largest spread
};

Box MakeBox(const std::vector<Cell>& cells, size_t begin, size_t end) {
  double w = 0, s[3] = {0, 0, 0}, q[3] = {0, 0, 0};
  for (size_t i = begin; i < end; ++i) {
    const double cw = static_cast<double>(cells[i].weight);
    w += cw;
    for (int k = 0; k < 3; ++k) {
      s[k] += cw * cells[i].c[k];
      q[k] += cw * cells[i].c[k] * cells[i].c[k];
    }
  }
  Box b{begin, end, 0.0, 0};
  double best = -1;
  for (int k = 0; k < 3; ++k) {
    const double var = w > 0 ? q[k] - s[k] * s[k] / w : 0;
    b.error += var;
    if (var > best) {
      best = var;
      b.axis = k;
    }
  }
  if (end - begin < 2) b.error = 0;  // a single cell cannot be split
  return b;
}

double Distance2(const double* a, const double* b) {
  const double d0 = a[0] - b[0], d1 = a[1] - b[1], d2 = a[2] - b[2];
  return d0 * d0 + d1 * d1 + d2 * d2;
}

// Too many colours for the table: a 15-bit histogram, 8 levels to a bin on
// each channel.
std::vector<Cell> HistogramCells(const uint32_t* pixels, size_t count) {
  std::vector<uint64_t> hist(static_cast<size_t>(kBins) * 4, 0);  // count, sum r, g, b
  for (size_t i = 0; i < count; ++i) {
    const uint32_t c = pixels[i];
    uint64_t* h = &hist[static_cast<size_t>(BinOf(c)) * 4];
    h[0] += 1;
    h[1] += (c >> 16) & 0xFF;
    h[2] += (c >> 8) & 0xFF;
    h[3] += c & 0xFF;
  }
  std::vector<Cell> cells;
  for (int b = 0; b < kBins; ++b) {
    const uint64_t* h = &hist[static_cast<size_t>(b) * 4];
    if (!h[0]) continue;
    const double n = static_cast<double>(h[0]);
    cells.push_back(Cell{h[0], {h[1] / n, h[2] / n, h[3] / n}, b});
  }
  return cells;
}

std::vector<Cell> TableCells(const ColourTable& table) {
  std::vector<Cell> cells;
  cells.reserve(table.size());
  for (size_t e = 0; e < table.size(); ++e) {
    const uint32_t c = table.colour(e);
    cells.push_back(Cell{table.weight(e),
                         {static_cast<double>((c >> 16) & 0xFF), static_cast<double>((c >> 8) & 0xFF),
                          static_cast<double>(c & 0xFF)},
                         static_cast<int>(e)});
  }
  return cells;
}

// Median cut over the cells, refined by one nearest-colour pass: fills the
// palette and gives each cell's palette index, by its source.
std::vector<uint8_t> MedianCut(std::vector<Cell> cells, size_t sources, QuantizedImage& out) {
  std::vector<Box> boxes{MakeBox(cells, 0, cells.size())};
  while (boxes.size() < kMaxColours) {
    auto worst = std::max_element(boxes.begin(), boxes.end(),
                                  [](const Box& a, const Box& b) { return a.error < b.error; });
    if (worst->error <= 0) break;
    const Box box = *worst;
    const int axis = box.axis;
    std::sort(cells.begin() + static_cast<std::ptrdiff_t>(box.begin),
              cells.begin() + static_cast<std::ptrdiff_t>(box.end),
              [axis](const Cell& a, const Cell& b) { return a.c[axis] < b.c[axis]; });
    uint64_t total = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += cells[i].weight;
    uint64_t run = 0;
    size_t cut = box.begin + 1;
    for (size_t i = box.begin; i < box.end - 1; ++i) {
      run += cells[i].weight;
      cut = i + 1;
      if (run * 2 >= total) break;
    }
    *worst = MakeBox(cells, box.begin, cut);
    boxes.push_back(MakeBox(cells, cut, box.end));
  }

  // Palette: weighted mean of each box.
  std::vector<std::array<double, 3>> pal(boxes.size());
  for (size_t p = 0; p < boxes.size(); ++p) {
    double w = 0, s[3] = {0, 0, 0};
    for (size_t i = boxes[p].begin; i < boxes[p].end; ++i) {
      const double cw = static_cast<double>(cells[i].weight);
      w += cw;
      for (int k = 0; k < 3; ++k) s[k] += cw * cells[i].c[k];
    }
    for (int k = 0; k < 3; ++k) pal[p][k] = s[k] / w;
  }

  // One refinement pass: move each palette colour to the mean of the cells
  // nearest to it, then map every cell to its nearest colour.
  auto nearest = [&](const Cell& cell) {
    size_t best = 0;
    double bd = Distance2(cell.c, pal[0].data());
    for (size_t p = 1; p < pal.size(); ++p) {
      const double d = Distance2(cell.c, pal[p].data());
      if (d < bd) {
        bd = d;
        best = p;
      }
    }
    return best;
  };
  std::vector<std::array<double, 4>> acc(pal.size(), {0, 0, 0, 0});
  for (const Cell& cell : cells) {
    auto& a = acc[nearest(cell)];
    const double cw = static_cast<double>(cell.weight);
    a[0] += cw;
    for (int k = 0; k < 3; ++k) a[k + 1] += cw * cell.c[k];
  }
  for (size_t p = 0; p < pal.size(); ++p) {
    if (acc[p][0] > 0)
      for (int k = 0; k < 3; ++k) pal[p][k] = acc[p][k + 1] / acc[p][0];
  }

  out.palette.resize(pal.size());
  for (size_t p = 0; p < pal.size(); ++p) {
    auto ch = [&](int k) {
      return static_cast<uint32_t>(std::clamp(pal[p][k] + 0.5, 0.0, 255.0));
    };
    out.palette[p] = ch(0) << 16 | ch(1) << 8 | ch(2);
  }
  // Nearest against the rounded palette, so the mapping matches the output.
  for (size_t p = 0; p < pal.size(); ++p)
    for (int k = 0; k < 3; ++k) pal[p][k] = static_cast<double>((out.palette[p] >> (16 - 8 * k)) & 0xFF);
  std::vector<uint8_t> index_of(sources, 0);
  for (const Cell& cell : cells) index_of[static_cast<size_t>(cell.source)] = static_cast<uint8_t>(nearest(cell));
  return index_of;
}

}  // namespace

QuantizedImage QuantizeColors(const uint32_t* pixels, size_t count) {
  QuantizedImage out;
  if (!pixels || count == 0) return out;
  if (QuantizeExact(pixels, count, out)) return out;
  out.palette.clear();
  auto table = std::make_unique<ColourTable>();
  if (!table->Count(pixels, count)) {
    table.reset();
    const std::vector<uint8_t> index_of = MedianCut(HistogramCells(pixels, count), kBins, out);
    for (size_t i = 0; i < count; ++i) out.indices[i] = index_of[static_cast<size_t>(BinOf(pixels[i]))];
    return out;
  }
  const std::vector<uint8_t> index_of = MedianCut(TableCells(*table), table->size(), out);
  uint32_t last = pixels[0] & kRgbMask;
  uint8_t last_index = index_of[table->EntryOf(last)];
  for (size_t i = 0; i < count; ++i) {
    const uint32_t c = pixels[i] & kRgbMask;
    if (c != last) {
      last = c;
      last_index = index_of[table->EntryOf(c)];
    }
    out.indices[i] = last_index;
  }
  return out;
}

}  // namespace vardo
