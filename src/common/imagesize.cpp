#include "common/imagesize.h"

#include <cmath>
#include <cstring>

namespace vardo {
namespace {

class Source {
 public:
  explicit Source(const ByteReader& read) : read_(read) {}
  // All n bytes at offset, or false.
  bool Read(uint64_t offset, void* buf, size_t n) const {
    return read_(offset, static_cast<uint8_t*>(buf), n) == n;
  }

 private:
  const ByteReader& read_;
};

uint32_t Le16(const uint8_t* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }
uint32_t Be16(const uint8_t* p) { return uint32_t{p[0]} << 8 | uint32_t{p[1]}; }
uint32_t Be32(const uint8_t* p) { return Be16(p) << 16 | Be16(p + 2); }

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

ImageProbe Known(ImageFormat f, uint32_t w, uint32_t h) { return ImageProbe{f, true, w, h}; }
ImageProbe Unsure(ImageFormat f) { return ImageProbe{f, false, 0, 0}; }

// Compressed bytes a PNG of this header can honestly need: its filtered
// rows stored without compression, with room for block and stream
// overheads (a stored deflate block costs 5 bytes per 64 KB). 0 when the
// header is not one a decoder takes.
uint64_t PngDataBound(uint32_t w, uint32_t h, uint8_t depth, uint8_t colour, uint8_t interlace) {
  int channels = 0;
  switch (colour) {
    case 0: channels = 1; break;  // grey
    case 2: channels = 3; break;  // RGB
    case 3: channels = 1; break;  // palette
    case 4: channels = 2; break;  // grey and alpha
    case 6: channels = 4; break;  // RGBA
    default: return 0;
  }
  if (depth == 0 || depth > 16 || w == 0 || h == 0 || w > 0x10000 || h > 0x10000) return 0;
  const uint64_t row = (uint64_t{w} * channels * depth + 7) / 8 + 1;
  uint64_t raw = row * h;
  if (interlace) raw += (uint64_t{h} + 8) * 4;  // the passes' extra filter bytes and rounding
  return raw + raw / 8 + 1024;
}

// PNG at `at`: the signature, then the IHDR chunk with width and height.
// At the start of a file the chunks are walked too (lengths only) and the
// data chunks' total is held against PngDataBound.
ImageProbe ProbePng(const Source& src, uint64_t at, bool walk_chunks) {
  uint8_t h[29];
  if (!src.Read(at, h, sizeof h) || std::memcmp(h + 12, "IHDR", 4) != 0) return Unsure(ImageFormat::Png);
  ImageProbe probe = Known(ImageFormat::Png, Be32(h + 16), Be32(h + 20));
  const uint64_t bound = PngDataBound(probe.width, probe.height, h[24], h[25], h[28]);
  if (!walk_chunks || bound == 0) return probe;
  uint64_t pos = at + 8, data = 0;
  for (int steps = 0; steps < 100000; ++steps) {
    uint8_t c[8];
    if (!src.Read(pos, c, sizeof c)) break;  // truncated: the decoder says so
    const uint32_t length = Be32(c);
    if (std::memcmp(c + 4, "IDAT", 4) == 0) data += length;
    if (data > bound) {
      probe.consistent = false;
      break;
    }
    if (std::memcmp(c + 4, "IEND", 4) == 0) break;
    pos += 12 + uint64_t{length};
  }
  return probe;
}

// JPEG: walks the marker segments from the start until the first frame
// header. Every step moves forward, and the walk is bounded, so hostile
// lengths cannot loop or read out of range.
ImageProbe ProbeJpeg(const Source& src) {
  uint64_t pos = 2;
  for (int steps = 0; steps < 4096; ++steps) {
    uint8_t m[2];
    if (!src.Read(pos, m, 2) || m[0] != 0xFF) break;
    const uint8_t marker = m[1];
    if (marker == 0xFF) {  // fill byte before a marker
      pos += 1;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length field
      pos += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) break;  // end of image or scan data before any frame
    uint8_t len[2];
    if (!src.Read(pos + 2, len, 2)) break;
    const uint32_t length = Be16(len);
    if (length < 2) break;
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      uint8_t f[5];  // precision, height, width
      if (length < 7 || !src.Read(pos + 4, f, sizeof f)) break;
      const uint32_t height = Be16(f + 1), width = Be16(f + 3);
      // A zero height is announced later (DNL): the size is not known here.
      if (height == 0 || width == 0) break;
      return Known(ImageFormat::Jpeg, width, height);
    }
    pos += 2 + uint64_t{length};
  }
  return Unsure(ImageFormat::Jpeg);
}

// GIF frame data after an image descriptor whose packed byte is `flags`:
// the local colour table, the LZW code size, then sub-blocks up to the
// empty one. Returns the offset past it, or 0 when the file ends first.
uint64_t GifFrameDataEnd(const Source& src, uint64_t pos, uint8_t flags) {
  if (flags & 0x80) pos += uint64_t{3} << ((flags & 7) + 1);
  pos += 1;  // LZW minimum code size
  for (int steps = 0; steps < 131072; ++steps) {
    uint8_t n = 0;
    if (!src.Read(pos, &n, 1)) return 0;
    pos += 1 + uint64_t{n};
    if (n == 0) return pos;
  }
  return 0;
}

// GIF: the logical screen, widened to the first frame when that frame
// reaches beyond it (decoders allocate the frame as it claims). Extension
// blocks before the frame are skipped sub-block by sub-block, boundedly.
ImageProbe ProbeGif(const Source& src) {
  uint8_t h[13];
  if (!src.Read(0, h, sizeof h)) return Unsure(ImageFormat::Gif);
  uint32_t w = Le16(h + 6), ht = Le16(h + 8);
  uint64_t pos = sizeof h;
  if (h[10] & 0x80) pos += uint64_t{3} << ((h[10] & 7) + 1);  // global colour table
  for (int steps = 0; steps < 65536; ++steps) {
    uint8_t b[2];
    if (!src.Read(pos, b, 1)) break;
    if (b[0] == 0x2C) {  // image descriptor: left, top, width, height, flags
      uint8_t d[9];
      if (!src.Read(pos + 1, d, sizeof d)) break;
      const uint32_t right = Le16(d) + Le16(d + 4), bottom = Le16(d + 2) + Le16(d + 6);
      if (Le16(d + 4) == 0 || Le16(d + 6) == 0) break;
      ImageProbe probe = Known(ImageFormat::Gif, right > w ? right : w, bottom > ht ? bottom : ht);
      probe.first_frame_end = GifFrameDataEnd(src, pos + 1 + sizeof d, d[8]);
      return probe;
    }
    if (b[0] != 0x21 || !src.Read(pos, b, 2)) break;  // only extensions may come first
    pos += 2;
    uint8_t n = 1;
    while (n != 0 && ++steps < 65536) {
      if (!src.Read(pos, &n, 1)) return Unsure(ImageFormat::Gif);
      pos += 1 + uint64_t{n};
    }
  }
  return Unsure(ImageFormat::Gif);
}

// DIB header at `at` (BITMAPCOREHEADER or BITMAPINFOHEADER and its
// successors). A negative height marks a top-down picture.
bool ReadDibSize(const Source& src, uint64_t at, uint32_t& w, int64_t& h) {
  uint8_t d[12];
  if (!src.Read(at, d, sizeof d)) return false;
  const uint32_t size = Le32(d);
  if (size == 12) {
    w = Le16(d + 4);
    h = Le16(d + 6);
  } else if (size >= 40 && size <= 1024) {
    const int32_t sw = static_cast<int32_t>(Le32(d + 4));
    if (sw <= 0) return false;
    w = static_cast<uint32_t>(sw);
    h = static_cast<int32_t>(Le32(d + 8));
  } else {
    return false;
  }
  return w != 0 && h != 0;
}

ImageProbe ProbeBmp(const Source& src) {
  uint32_t w = 0;
  int64_t h = 0;
  if (!ReadDibSize(src, 14, w, h)) return Unsure(ImageFormat::Bmp);
  return Known(ImageFormat::Bmp, w, static_cast<uint32_t>(h < 0 ? -h : h));
}

// ICO: the entry with the most pixels. An entry's directory bytes stop at
// 256, so each entry's own PNG or DIB header is read too.
ImageProbe ProbeIco(const Source& src) {
  uint8_t h[6];
  if (!src.Read(0, h, sizeof h)) return Unsure(ImageFormat::Ico);
  const uint32_t count = Le16(h + 4);
  if (count == 0 || count > 1024) return Unsure(ImageFormat::Ico);
  ImageProbe best = Known(ImageFormat::Ico, 0, 0);
  uint64_t best_area = 0;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t e[16];
    if (!src.Read(6 + uint64_t{i} * 16, e, sizeof e)) return Unsure(ImageFormat::Ico);
    const uint64_t at = Le32(e + 12);
    uint8_t sig[8];
    if (!src.Read(at, sig, sizeof sig)) return Unsure(ImageFormat::Ico);
    uint32_t w = 0, ht = 0;
    if (std::memcmp(sig, kPngSignature, 8) == 0) {
      const ImageProbe png = ProbePng(src, at, false);
      if (!png.size_known) return Unsure(ImageFormat::Ico);
      w = png.width;
      ht = png.height;
    } else {
      int64_t dh = 0;
      if (!ReadDibSize(src, at, w, dh)) return Unsure(ImageFormat::Ico);
      // The stored height covers the colour rows and the mask rows.
      ht = static_cast<uint32_t>((dh < 0 ? -dh : dh) / 2);
      if (ht == 0) return Unsure(ImageFormat::Ico);
    }
    const uint64_t area = uint64_t{w} * ht;
    if (area > best_area) {
      best_area = area;
      best.width = w;
      best.height = ht;
    }
  }
  return best;
}

// Enhanced metafile: the header's own size and the file size it claims
// must lie inside the file, and the frame must not be empty.
ImageProbe ProbeEmf(const Source& src) {
  ImageProbe probe = Unsure(ImageFormat::Emf);
  uint8_t h[88];
  uint8_t last = 0;
  if (!src.Read(0, h, sizeof h)) {
    probe.consistent = false;
    return probe;
  }
  const uint32_t header = Le32(h + 4), bytes = Le32(h + 48);
  const int32_t left = static_cast<int32_t>(Le32(h + 24)), top = static_cast<int32_t>(Le32(h + 28));
  const int32_t right = static_cast<int32_t>(Le32(h + 32)), bottom = static_cast<int32_t>(Le32(h + 36));
  probe.consistent = header >= 88 && header <= bytes && src.Read(bytes - 1, &last, 1) && right > left &&
                     bottom > top;
  return probe;
}

// Windows metafile at `at` (after a placeable header, if any): the size in
// 16-bit words its header claims must lie inside the file.
ImageProbe ProbeWmf(const Source& src, uint64_t at) {
  ImageProbe probe = Unsure(ImageFormat::Wmf);
  uint8_t h[18];
  uint8_t last = 0;
  probe.consistent = src.Read(at, h, sizeof h) && Le16(h + 2) == 9 && Le32(h + 6) >= 9 &&
                     src.Read(at + uint64_t{Le32(h + 6)} * 2 - 1, &last, 1);
  return probe;
}

ImageProbe ProbeTiff(const Source& src, bool little) {
  auto u16 = [little](const uint8_t* p) { return little ? Le16(p) : Be16(p); };
  auto u32 = [little](const uint8_t* p) { return little ? Le32(p) : Be32(p); };
  uint8_t h[8];
  if (!src.Read(0, h, sizeof h)) return Unsure(ImageFormat::Tiff);
  const uint64_t ifd = u32(h + 4);
  uint8_t c[2];
  if (!src.Read(ifd, c, 2)) return Unsure(ImageFormat::Tiff);
  const uint32_t count = u16(c);
  uint32_t w = 0, ht = 0;
  for (uint32_t i = 0; i < count && (w == 0 || ht == 0); ++i) {
    uint8_t e[12];
    if (!src.Read(ifd + 2 + uint64_t{i} * 12, e, sizeof e)) break;
    const uint32_t tag = u16(e), type = u16(e + 2);
    uint32_t value = 0;
    if (type == 3)
      value = u16(e + 8);
    else if (type == 4)
      value = u32(e + 8);
    else
      continue;
    if (tag == 256) w = value;
    if (tag == 257) ht = value;
  }
  if (w == 0 || ht == 0) return Unsure(ImageFormat::Tiff);
  return Known(ImageFormat::Tiff, w, ht);
}

// Round to nearest, halves to even, whatever the floating-point mode.
int RoundHalfEven(double v) {
  const double f = std::floor(v);
  const double d = v - f;
  double r = f;
  if (d > 0.5 || (d == 0.5 && std::fmod(f, 2.0) != 0.0)) r = f + 1;
  return static_cast<int>(r);
}

}  // namespace

ImageProbe ProbeImage(const ByteReader& read) {
  const Source src(read);
  uint8_t m[8] = {};
  const size_t n = read(0, m, sizeof m);
  if (n >= 8 && std::memcmp(m, kPngSignature, 8) == 0) return ProbePng(src, 0, true);
  if (n >= 3 && m[0] == 0xFF && m[1] == 0xD8 && m[2] == 0xFF) return ProbeJpeg(src);
  if (n >= 6 && (std::memcmp(m, "GIF87a", 6) == 0 || std::memcmp(m, "GIF89a", 6) == 0)) return ProbeGif(src);
  if (n >= 2 && m[0] == 'B' && m[1] == 'M') return ProbeBmp(src);
  if (n >= 4 && m[0] == 0 && m[1] == 0 && m[2] == 1 && m[3] == 0) return ProbeIco(src);
  if (n >= 4 && m[0] == 'I' && m[1] == 'I' && m[2] == 42 && m[3] == 0) return ProbeTiff(src, true);
  if (n >= 4 && m[0] == 'M' && m[1] == 'M' && m[2] == 0 && m[3] == 42) return ProbeTiff(src, false);
  if (n >= 4 && Le32(m) == 0x9AC6CDD7u) return ProbeWmf(src, 22);  // placeable header
  if (n >= 8 && (Le16(m) == 1 || Le16(m) == 2) && Le16(m + 2) == 9 && (Le16(m + 4) == 0x100 || Le16(m + 4) == 0x300))
    return ProbeWmf(src, 0);
  uint8_t sig[4];
  if (n >= 4 && Le32(m) == 1 && src.Read(40, sig, 4) && std::memcmp(sig, " EMF", 4) == 0) return ProbeEmf(src);
  return ImageProbe{};
}

ImageProbe ProbeImage(const uint8_t* data, size_t size) {
  return ProbeImage([data, size](uint64_t offset, uint8_t* buf, size_t n) -> size_t {
    if (!data || offset >= size) return 0;
    const size_t avail = size - static_cast<size_t>(offset);
    const size_t take = n < avail ? n : avail;
    std::memcpy(buf, data + offset, take);
    return take;
  });
}

bool ImageSizeAllowed(int64_t width, int64_t height) {
  if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide) return false;
  return width * height <= kMaxImagePixels;  // both at most 2^15: no overflow
}

FittedSize FitKeepingRatio(int src_w, int src_h, int box_w, int box_h) {
  if (src_w <= 0 || src_h <= 0 || box_w <= 0 || box_h <= 0) return {box_w, box_h};
  const double r = static_cast<double>(src_w) / src_h;
  if (static_cast<double>(box_w) / box_h < r) return {box_w, RoundHalfEven(box_w / r)};
  return {RoundHalfEven(box_h * r), box_h};
}

}  // namespace vardo
