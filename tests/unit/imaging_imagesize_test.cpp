#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "../support/hostile_images.h"
#include "common/imagesize.h"

namespace vardo {
namespace {

using Bytes = std::vector<uint8_t>;

void Be16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v >> 8));
  b.push_back(static_cast<uint8_t>(v));
}
void Be32(Bytes& b, uint32_t v) {
  Be16(b, v >> 16);
  Be16(b, v & 0xFFFF);
}
void Le16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Le32(Bytes& b, uint32_t v) {
  Le16(b, v & 0xFFFF);
  Le16(b, v >> 16);
}
void Text(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

Bytes Png(uint32_t w, uint32_t h) {
  Bytes b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Be32(b, 13);
  Text(b, "IHDR");
  Be32(b, w);
  Be32(b, h);
  b.insert(b.end(), {8, 6, 0, 0, 0, 0x11, 0x22, 0x33, 0x44});  // depth, type, ..., CRC
  return b;
}

// SOI, an APP0 segment, a comment, a Huffman table, then the frame header.
Bytes Jpeg(uint32_t w, uint32_t h, uint8_t sof = 0xC0) {
  Bytes b = {0xFF, 0xD8, 0xFF, 0xE0};
  Be16(b, 16);
  Text(b, "JFIF");
  b.insert(b.end(), {0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
  b.insert(b.end(), {0xFF, 0xFE});
  Be16(b, 7);
  Text(b, "hello");
  b.insert(b.end(), {0xFF, 0xFF, 0xC4});  // with a fill byte
  Be16(b, 3);
  b.push_back(0);
  b.insert(b.end(), {0xFF, sof});
  Be16(b, 17);
  b.push_back(8);
  Be16(b, h);
  Be16(b, w);
  b.insert(b.end(), {3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
  b.insert(b.end(), {0xFF, 0xD9});
  return b;
}

// A GIF with a two-entry colour table, a comment and one frame.
Bytes Gif(uint32_t w, uint32_t h, const char* version = "GIF89a", uint32_t frame_w = 0, uint32_t frame_h = 0,
          uint32_t left = 0, uint32_t top = 0) {
  Bytes b;
  Text(b, version);
  Le16(b, w);
  Le16(b, h);
  b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF});
  b.insert(b.end(), {0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e', 0});
  b.push_back(0x2C);
  Le16(b, left);
  Le16(b, top);
  Le16(b, frame_w ? frame_w : w);
  Le16(b, frame_h ? frame_h : h);
  b.insert(b.end(), {0, 2, 2, 0x44, 0x01, 0, 0x3B});
  return b;
}

Bytes Bmp(int32_t w, int32_t h, uint32_t header = 40) {
  Bytes b = {'B', 'M'};
  Le32(b, 0);
  Le32(b, 0);
  Le32(b, 14 + header);
  Le32(b, header);
  if (header == 12) {
    Le16(b, static_cast<uint32_t>(w));
    Le16(b, static_cast<uint32_t>(h));
    Le16(b, 1);
    Le16(b, 24);
  } else {
    Le32(b, static_cast<uint32_t>(w));
    Le32(b, static_cast<uint32_t>(h));
    Le16(b, 1);
    Le16(b, 24);
    b.resize(14 + header, 0);
  }
  return b;
}

// An icon with a 16x16 DIB entry and a PNG entry of the given size (its
// directory bytes say 0, meaning 256).
Bytes Ico(uint32_t png_w, uint32_t png_h) {
  Bytes b = {0, 0, 1, 0};
  Le16(b, 2);
  const uint32_t dib_at = 6 + 2 * 16, png_at = dib_at + 40;
  b.insert(b.end(), {16, 16, 0, 0});
  Le16(b, 1);
  Le16(b, 32);
  Le32(b, 40);
  Le32(b, dib_at);
  b.insert(b.end(), {0, 0, 0, 0});
  Le16(b, 1);
  Le16(b, 32);
  Le32(b, 33);
  Le32(b, png_at);
  Le32(b, 40);
  Le32(b, 16);
  Le32(b, 32);  // colour rows and mask rows
  b.resize(png_at, 0);
  const Bytes png = Png(png_w, png_h);
  b.insert(b.end(), png.begin(), png.end());
  return b;
}

Bytes Tiff(bool little, uint32_t w, uint32_t h, bool longs) {
  Bytes b;
  auto u16 = [&](uint32_t v) { little ? Le16(b, v) : Be16(b, v); };
  auto u32 = [&](uint32_t v) { little ? Le32(b, v) : Be32(b, v); };
  Text(b, little ? "II" : "MM");
  u16(42);
  u32(8);
  u16(3);
  u16(254);  // NewSubfileType first
  u16(4);
  u32(1);
  u32(0);
  for (uint32_t tag : {256u, 257u}) {
    const uint32_t v = tag == 256 ? w : h;
    u16(tag);
    u16(longs ? 4 : 3);
    u32(1);
    if (longs) {
      u32(v);
    } else {
      u16(v);
      u16(0);
    }
  }
  u32(0);
  return b;
}

ImageProbe Probe(const Bytes& b) { return ProbeImage(b.data(), b.size()); }

TEST(ImagingProbe, ReadsTheSizeOfEachFormat) {
  const struct {
    const char* name;
    Bytes bytes;
    ImageFormat format;
    uint32_t w, h;
  } rows[] = {
      {"png", Png(640, 480), ImageFormat::Png, 640, 480},
      {"png huge", Png(30000, 30000), ImageFormat::Png, 30000, 30000},
      {"png 2^32-1", Png(0xFFFFFFFF, 1), ImageFormat::Png, 0xFFFFFFFF, 1},
      {"jpeg baseline", Jpeg(1920, 1080), ImageFormat::Jpeg, 1920, 1080},
      {"jpeg progressive", Jpeg(65535, 3, 0xC2), ImageFormat::Jpeg, 65535, 3},
      {"gif89a", Gif(300, 200), ImageFormat::Gif, 300, 200},
      {"gif87a", Gif(1, 65535, "GIF87a"), ImageFormat::Gif, 1, 65535},
      {"gif frame beyond the screen", Gif(10, 10, "GIF89a", 60000, 3, 5, 5), ImageFormat::Gif, 60005, 10},
      {"bmp bottom-up", Bmp(123, 45), ImageFormat::Bmp, 123, 45},
      {"bmp top-down", Bmp(123, -45), ImageFormat::Bmp, 123, 45},
      {"bmp v5 header", Bmp(7, 9, 124), ImageFormat::Bmp, 7, 9},
      {"bmp core header", Bmp(50, 60, 12), ImageFormat::Bmp, 50, 60},
      {"bmp most negative height", Bmp(1, std::numeric_limits<int32_t>::min()), ImageFormat::Bmp, 1, 0x80000000u},
      {"ico with a png entry", Ico(300, 310), ImageFormat::Ico, 300, 310},
      {"ico dib larger than png", Ico(8, 8), ImageFormat::Ico, 16, 16},
      {"tiff intel shorts", Tiff(true, 800, 600, false), ImageFormat::Tiff, 800, 600},
      {"tiff motorola longs", Tiff(false, 70000, 5, true), ImageFormat::Tiff, 70000, 5},
  };
  for (const auto& r : rows) {
    const ImageProbe p = Probe(r.bytes);
    EXPECT_EQ(p.format, r.format) << r.name;
    EXPECT_TRUE(p.size_known) << r.name;
    EXPECT_EQ(p.width, r.w) << r.name;
    EXPECT_EQ(p.height, r.h) << r.name;
  }
}

TEST(ImagingProbe, TruncatedHeadersNeverClaimAWrongSize) {
  const struct {
    const char* name;
    Bytes full;
    size_t needed;  // bytes before which no size can be known
    uint32_t side;  // the size once known
  } rows[] = {{"png", Png(10, 10), 24, 10},
              {"jpeg", Jpeg(10, 10), 40, 10},
              {"gif", Gif(10, 10), 38, 10},
              {"bmp", Bmp(10, 10), 26, 10},
              {"ico", Ico(20, 20), 102, 20},
              {"tiff le", Tiff(true, 10, 10, true), 46, 10},
              {"tiff be", Tiff(false, 10, 10, false), 46, 10}};
  for (const auto& r : rows) {
    ASSERT_TRUE(Probe(r.full).size_known) << r.name;
    // Each prefix is read from its own exactly-sized buffer, so the
    // sanitizers see any read past the end.
    for (size_t n = 0; n < r.full.size(); ++n) {
      const Bytes cut(r.full.begin(), r.full.begin() + static_cast<std::ptrdiff_t>(n));
      const ImageProbe p = Probe(cut);
      if (n < r.needed) {
        EXPECT_FALSE(p.size_known) << r.name << " cut at " << n;
      } else if (p.size_known) {
        EXPECT_EQ(p.width, r.side) << r.name << " cut at " << n;
        EXPECT_EQ(p.height, r.side) << r.name << " cut at " << n;
      }
    }
  }
}

TEST(ImagingProbe, HostileJpegSegmentsEndTheWalkSafely) {
  Bytes sos_first = {0xFF, 0xD8, 0xFF, 0xDA, 0, 4, 0, 0};
  Bytes short_length = {0xFF, 0xD8, 0xFF, 0xE1, 0, 1, 0xFF, 0xC0};
  Bytes length_past_end = {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF, 0, 0};
  Bytes zero_height = Jpeg(100, 0);
  Bytes garbage_between = {0xFF, 0xD8, 0xFF, 0xE0, 0, 2, 0x12, 0x34};
  Bytes endless;  // thousands of empty segments
  endless = {0xFF, 0xD8};
  for (int i = 0; i < 20000; ++i) endless.insert(endless.end(), {0xFF, 0xE5, 0, 2});
  const Bytes fake_sof_in_dht = [] {
    Bytes b = {0xFF, 0xD8, 0xFF, 0xC4, 0, 9, 0xFF, 0xC0, 0, 17, 8, 0x7F, 0xFF};  // C0 bytes inside DHT
    b.insert(b.end(), {0xFF, 0xC0, 0, 17, 8, 0, 20, 0, 30});
    b.resize(b.size() + 10, 0);
    return b;
  }();
  for (const Bytes* b : {&sos_first, &short_length, &length_past_end, &zero_height, &garbage_between, &endless}) {
    const ImageProbe p = Probe(*b);
    EXPECT_EQ(p.format, ImageFormat::Jpeg);
    EXPECT_FALSE(p.size_known);
  }
  const ImageProbe p = Probe(fake_sof_in_dht);
  EXPECT_TRUE(p.size_known);
  EXPECT_EQ(p.width, 30u);
  EXPECT_EQ(p.height, 20u);
}

TEST(ImagingProbe, MalformedHeadersAreNotTrusted) {
  Bytes ico_offset_outside = Ico(10, 10);
  ico_offset_outside[6 + 16 + 12] = 0xF0;  // PNG entry offset far beyond the file
  Bytes ico_no_entries = {0, 0, 1, 0, 0, 0};
  Bytes tiff_ifd_outside = Tiff(true, 5, 5, true);
  tiff_ifd_outside[4] = 0xF0;
  tiff_ifd_outside[7] = 0xFF;
  Bytes png_not_ihdr = Png(5, 5);
  png_not_ihdr[12] = 'X';
  const Bytes rows[] = {Bmp(-5, 5), Bmp(5, 0), Bmp(5, 5, 7), ico_offset_outside, ico_no_entries,
                        tiff_ifd_outside, png_not_ihdr};
  for (const Bytes& b : rows) {
    const ImageProbe p = Probe(b);
    EXPECT_NE(p.format, ImageFormat::Unknown);
    EXPECT_FALSE(p.size_known);
  }
  for (const std::string s : {"", "GIF", "hello world", "<svg></svg>", "\x89PNX"}) {
    const Bytes b(s.begin(), s.end());
    const ImageProbe p = Probe(b);
    EXPECT_EQ(p.format, ImageFormat::Unknown);
    EXPECT_FALSE(p.size_known);
  }
  EXPECT_EQ(ProbeImage(nullptr, 100).format, ImageFormat::Unknown);
}

TEST(ImagingProbe, RandomBytesAfterEachSignatureAreHandled) {
  const Bytes heads[] = {Png(1, 1), Jpeg(1, 1), Gif(1, 1), Bmp(1, 1), Ico(1, 1), Tiff(true, 1, 1, true)};
  std::mt19937 rng(12345);
  for (const Bytes& head : heads) {
    for (int round = 0; round < 300; ++round) {
      Bytes b(head.begin(), head.begin() + 4);
      const size_t len = rng() % 200;
      for (size_t i = 0; i < len; ++i) b.push_back(static_cast<uint8_t>(rng()));
      (void)Probe(b);  // the sanitizers judge: no read outside the buffer
    }
  }
}

// Files whose data contradicts their header: decoders spend seconds on them.
TEST(ImagingProbe, DataBeyondWhatTheHeaderAllowsIsCaught) {
  namespace hd = hostile::detail;
  auto grey = [](uint32_t, uint32_t) { return 0x808080u; };
  const Bytes honest = hd::Png(64, 64, grey);  // stored, the largest honest encoding
  EXPECT_TRUE(ProbeImage(honest.data(), honest.size()).consistent);
  const Bytes bomb_data = hd::ZlibZeroBomb(2000);  // 3 KB inflating to 516 KB
  const Bytes small_bomb = hd::Png(16, 16, grey, &bomb_data);
  const ImageProbe p = ProbeImage(small_bomb.data(), small_bomb.size());
  EXPECT_TRUE(p.size_known);
  EXPECT_FALSE(p.consistent);
  // Interlaced and 16-bit headers get their larger bound.
  Bytes wide = honest;
  wide[24] = 16;
  EXPECT_TRUE(ProbeImage(wide.data(), wide.size()).consistent);

  // Metafiles: the claimed length must lie inside the file.
  Bytes emf = hd::EmfClaiming2Gb();
  const ImageProbe lying = ProbeImage(emf.data(), emf.size());
  EXPECT_EQ(lying.format, ImageFormat::Emf);
  EXPECT_FALSE(lying.consistent);
  emf[48] = static_cast<uint8_t>(emf.size());
  emf[51] = 0;
  EXPECT_TRUE(ProbeImage(emf.data(), emf.size()).consistent);
  Bytes wmf = {0x01, 0x00, 0x09, 0x00, 0x00, 0x03, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0};
  EXPECT_EQ(ProbeImage(wmf.data(), wmf.size()).format, ImageFormat::Wmf);
  EXPECT_TRUE(ProbeImage(wmf.data(), wmf.size()).consistent);
  wmf[8] = 1;  // 65548 words claimed
  EXPECT_FALSE(ProbeImage(wmf.data(), wmf.size()).consistent);
}

TEST(ImagingProbe, GifFirstFrameEndsBeforeTheOtherFrames) {
  namespace hd = hostile::detail;
  const Bytes one = hd::Gif(4, 4, 1), three = hd::Gif(4, 4, 3);
  const ImageProbe p1 = ProbeImage(one.data(), one.size()), p3 = ProbeImage(three.data(), three.size());
  // One frame: everything but the trailer; more frames end at the same place.
  EXPECT_EQ(p1.first_frame_end, one.size() - 1);
  EXPECT_EQ(p3.first_frame_end, p1.first_frame_end);
  const Bytes cut(one.begin(), one.end() - 3);  // inside the frame's data
  EXPECT_EQ(ProbeImage(cut.data(), cut.size()).first_frame_end, 0u);
}

TEST(ImagingLimit, RefusesEmptyOversizedAndOverflowingSizes) {
  const struct {
    int64_t w, h;
    bool allowed;
  } rows[] = {
      {1, 1, true},
      {1920, 1080, true},
      {8192, 8192, true},    // exactly 64 Mi pixels
      {8193, 8192, false},
      {32767, 2048, true},
      {32767, 2049, false},
      {32768, 1, false},
      {1, 32768, false},
      {30000, 30000, false},
      {0, 10, false},
      {10, 0, false},
      {-1, 10, false},
      {10, -1, false},
      {std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max(), false},
      {std::numeric_limits<int64_t>::min(), -1, false},
      {0xFFFFFFFFLL, 0xFFFFFFFFLL, false},
  };
  for (const auto& r : rows) EXPECT_EQ(ImageSizeAllowed(r.w, r.h), r.allowed) << r.w << " x " << r.h;
}

TEST(ImagingFit, KeepsTheRatioWithHalvesRoundedToEven) {
  const struct {
    int sw, sh, bw, bh, w, h;
  } rows[] = {
      {200, 100, 100, 100, 100, 50},
      {100, 200, 100, 100, 50, 100},
      {100, 100, 300, 200, 200, 200},
      {4, 1, 10, 10, 10, 2},   // 2.5 -> 2
      {4, 1, 14, 10, 14, 4},   // 3.5 -> 4
      {1, 4, 10, 10, 2, 10},   // 2.5 -> 2
      {1, 4, 10, 14, 4, 14},   // 3.5 -> 4
      {3, 2, 5, 5, 5, 3},
      {0, 5, 40, 30, 40, 30},  // nothing to keep: the box
  };
  for (const auto& r : rows) {
    const FittedSize f = FitKeepingRatio(r.sw, r.sh, r.bw, r.bh);
    EXPECT_EQ(f.width, r.w) << r.sw << "x" << r.sh << " in " << r.bw << "x" << r.bh;
    EXPECT_EQ(f.height, r.h) << r.sw << "x" << r.sh << " in " << r.bw << "x" << r.bh;
  }
}

}  // namespace
}  // namespace vardo
