// The image header probe on any bytes: it must never read out of range
// (ASan), must stay within a bounded number of small reads, must agree with
// itself whichever way the bytes are offered, and a GIF's first frame must
// end inside the file. The size helpers get the same
// treatment with whatever integers the bytes spell.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/imagesize.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

int32_t Int32At(const uint8_t* data, size_t size, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = v << 8 | (at + i < size ? data[at + i] : 0);
  return static_cast<int32_t>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vardo;
  const ImageProbe direct = ProbeImage(data, size);

  // The same bytes through a reader, as the loader reads a file: count the
  // reads and their sizes, and check each stays within what was asked.
  size_t calls = 0;
  uint64_t asked = 0;
  const ImageProbe read = ProbeImage([&](uint64_t offset, uint8_t* buf, size_t n) -> size_t {
    ++calls;
    asked += n;
    Check(n <= 0xFFFF);  // the Windows reader refuses larger pieces
    if (offset >= size) return 0;
    const size_t take = n < size - offset ? n : static_cast<size_t>(size - offset);
    std::memcpy(buf, data + offset, take);
    return take;
  });
  Check(direct.format == read.format && direct.size_known == read.size_known && direct.width == read.width &&
        direct.height == read.height && direct.consistent == read.consistent &&
        direct.first_frame_end == read.first_frame_end);
  // Hostile lengths must not make the probe walk a file piece by piece.
  Check(calls <= 140000);
  Check(asked <= 4u << 20);
  if (direct.size_known) Check(direct.format != ImageFormat::Unknown);
  if (direct.format == ImageFormat::Unknown)
    Check(!direct.size_known && direct.width == 0 && direct.height == 0 && direct.consistent);
  // Only a GIF has a first frame to cut out, and it lies inside the file.
  if (direct.first_frame_end != 0) Check(direct.format == ImageFormat::Gif && direct.first_frame_end <= size);

  // The size limit and the fitting helper on arbitrary integers.
  const int32_t a = Int32At(data, size, 0), b = Int32At(data, size, 4);
  const int32_t c = Int32At(data, size, 8), d = Int32At(data, size, 12);
  if (ImageSizeAllowed(a, b)) Check(a >= 1 && b >= 1 && int64_t{a} * b <= kMaxImagePixels);
  const FittedSize f = FitKeepingRatio(a, b, c, d);
  if (a > 0 && b > 0 && c > 0 && d > 0) {
    Check(f.width >= 0 && f.width <= c && f.height >= 0 && f.height <= d);
    Check(f.width == c || f.height == d);
  } else {
    Check(f.width == c && f.height == d);
  }
  return 0;
}
