// The palette quantiser on any pixels: at most 256 colours, one valid index
// per pixel, and an exact palette whenever the picture has no more than 256
// colours. The input's first byte picks how the rest is spread into pixels,
// so that both the exact path and the median cut see many shapes.
#include <cstdint>
#include <cstdlib>
#include <unordered_set>
#include <vector>

#include "common/quantize.h"

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) {
    const vardo::QuantizedImage none = vardo::QuantizeColors(nullptr, 0);
    Check(none.palette.empty() && none.indices.empty());
    return 0;
  }
  // Mode 0: four bytes per pixel as they come. Mode 1: one byte per pixel
  // spread over the colour cube (many distinct colours from little input).
  // Mode 2: each byte repeated in a run of 16 pixels (flat areas).
  std::vector<uint32_t> px;
  const uint8_t mode = data[0] % 3;
  const uint8_t* p = data + 1;
  const size_t n = size - 1;
  if (mode == 0) {
    for (size_t i = 0; i + 4 <= n; i += 4)
      px.push_back(uint32_t{p[i]} | uint32_t{p[i + 1]} << 8 | uint32_t{p[i + 2]} << 16 | uint32_t{p[i + 3]} << 24);
  } else if (mode == 1) {
    for (size_t i = 0; i < n; ++i) px.push_back((uint32_t{p[i]} * 0x9E3779B1u + static_cast<uint32_t>(i) * 2654435761u));
  } else {
    for (size_t i = 0; i < n; ++i)
      for (int k = 0; k < 16; ++k) px.push_back(uint32_t{p[i]} * 0x010101u ^ static_cast<uint32_t>(k & (p[i] >> 4)));
  }
  const vardo::QuantizedImage q = vardo::QuantizeColors(px.data(), px.size());
  Check(q.indices.size() == px.size());
  Check(q.palette.size() <= 256);
  Check(px.empty() == q.palette.empty());
  for (uint32_t c : q.palette) Check((c & 0xFF000000u) == 0);
  for (uint8_t i : q.indices) Check(i < q.palette.size());
  std::unordered_set<uint32_t> distinct;
  for (uint32_t c : px) distinct.insert(c & 0x00FFFFFFu);
  if (distinct.size() <= 256) {
    Check(q.palette.size() == distinct.size());
    for (size_t i = 0; i < px.size(); ++i) Check(q.palette[q.indices[i]] == (px[i] & 0x00FFFFFFu));
  }
  return 0;
}
