// A set of hostile picture files, made byte by byte: broken sizes, lying
// headers, bombs, broken checksums, odd but valid variants and files that
// are not what their names say. Shared by the in-process loader tests and
// the end-to-end drop tests; plain C++ (no windows.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vardo::hostile {

using Bytes = std::vector<uint8_t>;

// What loading a file must come to.
enum class Outcome {
  Refused,   // nothing is added
  Pinned,    // added at width x height, `top`/`bottom` colours where given
  Either,    // refusing or pinning at width x height are both sound
};

struct HostileFile {
  const char* what;
  std::string name;  // file name (a folder when `folder`)
  Bytes bytes;
  Outcome outcome;
  int width = 0, height = 0;
  uint32_t top = 0xFFFFFFFF, bottom = 0xFFFFFFFF;  // 0xRRGGBB at the centre of the top/bottom row, or none
  bool folder = false;
};

namespace detail {

inline void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void PutBe32(Bytes& b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<uint8_t>(v >> s));
}
inline void Append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }
inline void Append(Bytes& b, const char* text) {
  for (; *text; ++text) b.push_back(static_cast<uint8_t>(*text));
}

inline uint32_t Crc32(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

inline uint32_t Adler32(const Bytes& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t v : data) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

// Bits into bytes, least significant bit first (deflate and GIF LZW).
class BitWriter {
 public:
  void Bits(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
  }
  // A Huffman code: most significant bit first.
  void Code(uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
  }
  Bytes Finish() {
    if (used_) out_.push_back(cur_);
    cur_ = 0;
    used_ = 0;
    return std::move(out_);
  }

 private:
  void Bit(uint32_t b) {
    cur_ = static_cast<uint8_t>(cur_ | b << used_);
    if (++used_ == 8) {
      out_.push_back(cur_);
      cur_ = 0;
      used_ = 0;
    }
  }
  Bytes out_;
  uint8_t cur_ = 0;
  int used_ = 0;
};

// A zlib stream of stored (uncompressed) deflate blocks.
inline Bytes ZlibStored(const Bytes& data) {
  Bytes z = {0x78, 0x01};
  size_t at = 0;
  do {
    const size_t n = data.size() - at < 65535 ? data.size() - at : 65535;
    z.push_back(at + n == data.size() ? 1 : 0);
    Put16(z, static_cast<uint32_t>(n));
    Put16(z, static_cast<uint32_t>(~n & 0xFFFF));
    z.insert(z.end(), data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(at + n));
    at += n;
  } while (at < data.size());
  PutBe32(z, Adler32(data));
  return z;
}

// A zlib stream that inflates to 1 + 258 * repeats zero bytes: one literal,
// then copies of the maximum length at distance 1 (13 bits each).
inline Bytes ZlibZeroBomb(uint32_t repeats) {
  BitWriter w;
  w.Bits(1, 1);  // final block
  w.Bits(1, 2);  // fixed Huffman codes
  w.Code(0x30, 8);  // literal 0
  for (uint32_t i = 0; i < repeats; ++i) {
    w.Code(0xC5, 8);  // length 258 (code 285)
    w.Code(0, 5);     // distance 1
  }
  w.Code(0, 7);  // end of block
  Bytes z = {0x78, 0x01};
  Append(z, w.Finish());
  const uint64_t total = 1 + uint64_t{258} * repeats;
  PutBe32(z, static_cast<uint32_t>((total % 65521) << 16 | 1));  // Adler-32 of zeros
  return z;
}

inline void PngChunk(Bytes& png, const char* type, const Bytes& data) {
  PutBe32(png, static_cast<uint32_t>(data.size()));
  const size_t start = png.size();
  Append(png, type);
  Append(png, data);
  PutBe32(png, Crc32(png.data() + start, png.size() - start));
}

// An 8-bit RGB PNG: rows of `w` pixels from f(x, y) -> 0xRRGGBB, or the
// given zlib stream as its data.
template <class F>
Bytes Png(uint32_t w, uint32_t h, F f, const Bytes* zlib = nullptr) {
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes ihdr;
  PutBe32(ihdr, w);
  PutBe32(ihdr, h);
  Append(ihdr, Bytes{8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  PngChunk(png, "IHDR", ihdr);
  if (zlib) {
    PngChunk(png, "IDAT", *zlib);
  } else {
    Bytes raw;
    for (uint32_t y = 0; y < h; ++y) {
      raw.push_back(0);  // no filter
      for (uint32_t x = 0; x < w; ++x) {
        const uint32_t c = f(x, y);
        Append(raw, Bytes{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c)});
      }
    }
    PngChunk(png, "IDAT", ZlibStored(raw));
  }
  PngChunk(png, "IEND", {});
  return png;
}

inline uint32_t RedOverBlue(uint32_t, uint32_t y, uint32_t h) { return y < h / 2 ? 0xFF0000u : 0x0000FFu; }

// A 24-bit BMP; a negative height stores the rows top-down.
inline Bytes Bmp(int32_t w, int32_t h, uint32_t colours_used = 0, int bits = 24) {
  const uint32_t aw = static_cast<uint32_t>(w < 0 ? -w : w), ah = static_cast<uint32_t>(h < 0 ? -h : h);
  const uint32_t row = (aw * static_cast<uint32_t>(bits) / 8 + 3) & ~3u;
  const uint32_t palette = bits == 8 ? 256 * 4 : 0;
  Bytes b = {'B', 'M'};
  Put32(b, 54 + palette + row * ah);
  Put32(b, 0);
  Put32(b, 54 + palette);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(w));
  Put32(b, static_cast<uint32_t>(h));
  Put16(b, 1);
  Put16(b, static_cast<uint32_t>(bits));
  Put32(b, 0);
  Put32(b, row * ah);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, colours_used);
  Put32(b, 0);
  for (uint32_t i = 0; i < palette / 4; ++i) Put32(b, i * 0x010101u);
  for (uint32_t r = 0; r < ah; ++r) {
    // Row r of the file is the picture's row r when top-down, else ah-1-r.
    const uint32_t y = h < 0 ? r : ah - 1 - r;
    Bytes line(row, 0);
    for (uint32_t x = 0; x < aw && bits == 24; ++x) {
      const uint32_t c = RedOverBlue(x, y, ah);
      line[x * 3] = static_cast<uint8_t>(c);
      line[x * 3 + 1] = static_cast<uint8_t>(c >> 8);
      line[x * 3 + 2] = static_cast<uint8_t>(c >> 16);
    }
    Append(b, line);
  }
  return b;
}

// A GIF whose logical screen is w x h, with `frames` 1 x 1 frames, red
// and blue in turn from red, each coded as clear code + pixel so codes
// stay 3 bits.
inline Bytes Gif(uint16_t w, uint16_t h, uint32_t frames) {
  Bytes g;
  Append(g, "GIF89a");
  Put16(g, w);
  Put16(g, h);
  Append(g, Bytes{0x80, 0, 0});             // global table of 2 colours
  Append(g, Bytes{0xFF, 0, 0, 0, 0, 0xFF});  // red, blue
  for (uint32_t i = 0; i < frames; ++i) {
    Append(g, Bytes{0x21, 0xF9, 4, 0, 1, 0, 0, 0});  // 10 ms delay
    g.push_back(0x2C);
    Put16(g, static_cast<uint32_t>(i % (w ? w : 1)));
    Put16(g, 0);
    Put16(g, 1);
    Put16(g, 1);
    g.push_back(0);
    g.push_back(2);  // LZW minimum code size
    BitWriter lzw;
    lzw.Bits(4, 3);  // clear
    lzw.Bits(i % 2, 3);  // red, blue, red ...
    lzw.Bits(5, 3);  // end
    const Bytes data = lzw.Finish();
    g.push_back(static_cast<uint8_t>(data.size()));
    Append(g, data);
    g.push_back(0);
  }
  g.push_back(0x3B);
  return g;
}

// A baseline JPEG of 8 x 8 pixels whose every block is flat mid-grey: one
// one-bit Huffman code for "no DC change" and one for "end of block".
// `components` 4 makes an Adobe CMYK file; a height of 0 leaves the height
// to a DNL marker that never comes.
inline Bytes Jpeg(int components, uint16_t height) {
  Bytes j = {0xFF, 0xD8};
  if (components == 4) {
    Append(j, Bytes{0xFF, 0xEE, 0, 14});
    Append(j, "Adobe");
    Append(j, Bytes{0, 100, 0, 0, 0, 0, 0});  // version 100, no transform: CMYK
  }
  Append(j, Bytes{0xFF, 0xDB, 0, 67, 0});
  j.insert(j.end(), 64, 1);
  const uint16_t sof_len = static_cast<uint16_t>(8 + 3 * components);
  Append(j, Bytes{0xFF, 0xC0, static_cast<uint8_t>(sof_len >> 8), static_cast<uint8_t>(sof_len), 8,
                  static_cast<uint8_t>(height >> 8), static_cast<uint8_t>(height), 0, 8,
                  static_cast<uint8_t>(components)});
  for (int c = 1; c <= components; ++c) Append(j, Bytes{static_cast<uint8_t>(c), 0x11, 0});
  for (uint8_t table : {uint8_t{0x00}, uint8_t{0x10}}) {
    Append(j, Bytes{0xFF, 0xC4, 0, 20, table, 1});
    j.insert(j.end(), 15, 0);
    j.push_back(0);  // the one symbol: DC category 0, or AC end of block
  }
  const uint16_t sos_len = static_cast<uint16_t>(6 + 2 * components);
  Append(j, Bytes{0xFF, 0xDA, static_cast<uint8_t>(sos_len >> 8), static_cast<uint8_t>(sos_len),
                  static_cast<uint8_t>(components)});
  for (int c = 1; c <= components; ++c) Append(j, Bytes{static_cast<uint8_t>(c), 0x00});
  Append(j, Bytes{0, 63, 0});
  // Two bits per block, all zero; then the end of the picture.
  j.insert(j.end(), static_cast<size_t>((2 * components + 7) / 8), 0);
  Append(j, Bytes{0xFF, 0xD9});
  return j;
}

// An icon directory with no images.
inline Bytes IcoWithoutImages() { return {0, 0, 1, 0, 0, 0}; }

// An enhanced metafile header that claims the file is 2 GB long, with a
// frame of 20 x 20 mm, followed by the end record.
inline Bytes EmfClaiming2Gb() {
  Bytes e;
  Put32(e, 1);    // EMR_HEADER
  Put32(e, 88);   // header size
  for (uint32_t v : {0u, 0u, 75u, 75u}) Put32(e, v);      // bounds, device units
  for (uint32_t v : {0u, 0u, 2000u, 2000u}) Put32(e, v);  // frame, 0.01 mm
  Put32(e, 0x464D4520);  // " EMF"
  Put32(e, 0x10000);
  Put32(e, 0x80000000u);  // file size claimed: 2 GB
  Put32(e, 2);            // records
  Put16(e, 1);            // handles
  Put16(e, 0);
  Put32(e, 0);  // description
  Put32(e, 0);
  Put32(e, 0);  // palette entries
  Put32(e, 1920);
  Put32(e, 1080);
  Put32(e, 508);
  Put32(e, 286);
  Put32(e, 14);  // EMR_EOF
  Put32(e, 20);
  Put32(e, 0);
  Put32(e, 0);
  Put32(e, 20);
  return e;
}

}  // namespace detail

inline std::vector<HostileFile> HostileFiles() {
  using namespace detail;
  auto bands = [](uint32_t h) { return [h](uint32_t x, uint32_t y) { return RedOverBlue(x, y, h); }; };
  const Bytes good = Png(8, 6, bands(6));
  std::vector<HostileFile> set;
  auto refused = [&](const char* what, std::string name, Bytes b) {
    set.push_back({what, std::move(name), std::move(b), Outcome::Refused});
  };

  // Sizes.
  refused("PNG of width 0", "zero-width.png", Png(0, 6, bands(6)));
  const Bytes few_rows = ZlibStored(Bytes(13, 0));
  refused("PNG of height 0x80000000 (negative as a signed number)", "negative-height.png",
          Png(4, 0x80000000u, bands(4), &few_rows));
  refused("BMP of width -4", "negative-width.bmp", Bmp(-4, 4));
  refused("BMP of height 0", "zero-height.bmp", Bmp(4, 0));
  // 65535 x 1: a side beyond what GDI keeps in 16 bits.
  refused("PNG of 65535 x 1", "line-65535x1.png", Png(65535, 1, bands(1)));

  // Lying data.
  {
    const Bytes bomb = ZlibZeroBomb(400000);  // about 100 MB from 650 KB
    set.push_back({"PNG of 64 x 64 whose data inflates to 100 MB", "bomb.png",
                   Png(64, 64, bands(64), &bomb), Outcome::Either, 64, 64});
  }
  {
    Bytes t = good;
    t.resize(t.size() - 12 - 10);  // cut inside IDAT: IEND and the CRC gone
    refused("PNG cut inside its data chunk", "truncated-idat.png", t);
    refused("PNG cut inside its header chunk", "truncated-ihdr.png", Bytes(good.begin(), good.begin() + 20));
  }
  {
    Bytes c = good;
    c[c.size() - 12 - 1] ^= 0xFF;  // the data chunk's CRC
    set.push_back({"PNG with a wrong data CRC", "bad-crc.png", c, Outcome::Either, 8, 6, 0xFF0000u, 0x0000FFu});
    Bytes s = good;
    s[1] = 'Q';
    refused("PNG with a wrong signature", "wrong-signature.png", s);
  }
  set.push_back({"CMYK JPEG", "cmyk.jpg", Jpeg(4, 8), Outcome::Either, 8, 8});
  refused("JPEG whose frame header has height 0", "zero-height-sof.jpg", Jpeg(1, 0));
  refused("GIF without any frame", "no-frames.gif", Gif(16, 16, 0));
  // Pinned as its first frame, red.
  set.push_back({"GIF of 10,000 frames", "frames-10000.gif", Gif(1, 1, 10000), Outcome::Pinned, 1, 1, 0xFF0000u,
                 0xFF0000u});
  set.push_back({"top-down BMP (negative height)", "top-down.bmp", Bmp(6, -4), Outcome::Pinned, 6, 4, 0xFF0000u,
                 0x0000FFu});
  set.push_back({"8-bit BMP claiming 2^30 palette colours", "huge-palette.bmp", Bmp(4, 4, 0x40000000u, 8),
                 Outcome::Either, 4, 4});
  refused("icon file with no images", "no-images.ico", IcoWithoutImages());
  set.push_back({"EMF claiming to be 2 GB", "claims-2gb.emf", EmfClaiming2Gb(), Outcome::Either, 0, 0});
  set.push_back({"PNG named .jpg", "really-a-png.jpg", good, Outcome::Pinned, 8, 6, 0xFF0000u, 0x0000FFu});
  set.push_back({"folder named .png", "folder.png", {}, Outcome::Refused, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, true});
  return set;
}

}  // namespace vardo::hostile
