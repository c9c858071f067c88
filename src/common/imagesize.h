// Picture dimensions read from a file's first bytes, before any decoding,
// and the size limit for pictures the programs accept.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

namespace vardo {

enum class ImageFormat { Unknown, Png, Jpeg, Gif, Bmp, Ico, Tiff, Emf, Wmf };

struct ImageProbe {
  ImageFormat format = ImageFormat::Unknown;
  // False when the format is not recognised, or when it is but the header
  // is truncated or malformed so the size cannot be trusted.
  bool size_known = false;
  uint32_t width = 0;
  uint32_t height = 0;
  // False when the file contradicts its own header: a PNG carrying more
  // compressed data than any encoding of its pixels needs (a decompression
  // bomb), a metafile claiming more bytes than the file holds. Such files
  // are refused; decoders spend seconds on them.
  bool consistent = true;
  // GIF: the offset just past the first frame's data (0 when not found).
  // Only that frame is shown, so only that much needs decoding, however
  // many frames follow.
  uint64_t first_frame_end = 0;
};

// Reads up to n bytes at offset into buf; returns how many it read (fewer
// at the end of the data). The probe reads only small pieces, seeking past
// segments instead of reading them, so it is cheap on large files.
using ByteReader = std::function<size_t(uint64_t offset, uint8_t* buf, size_t n)>;

// PNG (IHDR, and the chunk lengths for the data bound), JPEG (first SOFn
// frame header, other segments skipped), GIF (logical screen, widened to the
// first frame), BMP (core and info headers; a negative height means a
// top-down picture), ICO (the largest entry, looking into embedded PNG and
// DIB headers), TIFF (first IFD). Enhanced and Windows metafiles are
// recognised and checked for consistency only; their pixel size depends on
// the screen. Never reads outside what `read` returns.
ImageProbe ProbeImage(const ByteReader& read);
ImageProbe ProbeImage(const uint8_t* data, size_t size);

// Largest picture the programs decode. A decoded picture lives at least
// twice (the 32-bit decoded bitmap and the display-depth canvas), so 64 Mi
// pixels cost about 512 MB: the most a desktop tool may reasonably ask
// for, while every real screenshot and photo (a 16K x 4K panorama, an 8K
// screen) still fits. Each side stays within 32767 because GDI keeps many
// coordinates and StretchBlt extents in 16 bits on some drivers. Larger
// headers are refused before decoding: GDI+ needs gigabytes for them and a
// 30000 x 30000 picture brings the process down under Wine.
constexpr int64_t kMaxImageSide = 32767;
constexpr int64_t kMaxImagePixels = int64_t{64} << 20;

// True when a picture of width x height may be decoded or created: both
// sides at least 1 and within the limits above. Any int64 values are safe.
bool ImageSizeAllowed(int64_t width, int64_t height);

struct FittedSize {
  int width;
  int height;
};

// Size of a src_w x src_h picture drawn into a box_w x box_h canvas keeping
// its aspect ratio, anchored at the top left: the side that limits is the
// box's, the other is scaled and rounded to the nearest integer, halves to
// even. Degenerate sizes give the box itself.
FittedSize FitKeepingRatio(int src_w, int src_h, int box_w, int box_h);

}  // namespace vardo
