#include "capture/encoders.h"

namespace vardo {

std::string_view EncoderClsidText(int index) {
  static constexpr std::string_view kTable[] = {
      "{557CF400-1A04-11D3-9A73-0000F81EF32E}",  // BMP
      "{557CF403-1A04-11D3-9A73-0000F81EF32E}",  // EMF
      "{557CF404-1A04-11D3-9A73-0000F81EF32E}",  // WMF
      "{557CF401-1A04-11D3-9A73-0000F81EF32E}",  // JPEG
      "{557CF406-1A04-11D3-9A73-0000F81EF32E}",  // PNG
      "{557CF402-1A04-11D3-9A73-0000F81EF32E}",  // GIF
      "{557CF405-1A04-11D3-9A73-0000F81EF32E}",  // TIFF
      "{557CF407-1A04-11D3-9A73-0000F81EF32E}",  // ICO
  };
  if (index < 0 || index >= static_cast<int>(std::size(kTable))) return kZeroClsidText;
  return kTable[index];
}

}  // namespace vardo
