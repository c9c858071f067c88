// The fixed table of GDI+ image codecs the capture overlay and the pin
// layer encode with, as registry text (converted with CLSIDFromString).
#pragma once
#include <iterator>
#include <string_view>

namespace vardo {

enum EncoderIndex : int {
  kEncoderBmp = 0,
  kEncoderEmf = 1,
  kEncoderWmf = 2,
  kEncoderJpeg = 3,
  kEncoderPng = 4,
  kEncoderGif = 5,
  kEncoderTiff = 6,
  kEncoderIco = 7,
};

inline constexpr std::string_view kZeroClsidText = "{00000000-0000-0000-0000-000000000000}";

// The GDI+ quality parameter of the JPEG encoder (one 32-bit value, 0..100).
inline constexpr std::string_view kJpegQualityParamText = "{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}";
inline constexpr unsigned kEncoderValueTypeLong = 4;

// Codec identifier of an index 0..7; any other index gives the all-zero
// identifier, with which GDI+ refuses to save.
std::string_view EncoderClsidText(int index);

}  // namespace vardo
