// The picture saving shared by the colour picker and the ruler: the save
// dialog's filter list, the choice of encoder and parameters by the file
// name's extension, the encoder parameter blocks and the error message.
// Pure: the Windows side (savepic_win.h) does the dialog and the encoding.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vardo::savepic {

// The dialog's filter list: label, pattern, label, pattern ..., each
// followed by one NUL, the list ending in a second NUL. UTF-8.
std::string FilterList();
inline constexpr const char* kDialogTitle = "Save";
inline constexpr const char* kDefaultExtension = "PNG";

// The text after the last "." of the file name (not of a folder name);
// empty when the name has none.
std::string ExtensionOf(std::string_view path);
std::string Lower(std::string_view s);

// Whether one of an encoder's patterns ("*.BMP;*.DIB;*.RLE") is "*.<ext>",
// case-insensitively.
bool EncoderTakesExtension(std::string_view patterns, std::string_view ext);
// The first of the encoders' pattern lists (in GDI+'s order) that takes
// the extension.
std::optional<size_t> ChooseEncoder(const std::vector<std::string>& pattern_lists, std::string_view ext);

// ---- encoder parameters ---------------------------------------------------------
using Guid = std::array<uint8_t, 16>;  // in memory order (GUID's little-endian fields)
extern const Guid kEncoderQuality;       // {1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}
extern const Guid kEncoderCompression;   // {E09D739D-CCD4-44EE-8EBA-3FBF8BE4FC58}
extern const Guid kEncoderColorDepth;    // {66087055-AD66-4C7C-9A18-38A2310B8337}
inline constexpr uint32_t kValueTypeLong = 4;
inline constexpr uint32_t kCompressionNone = 6;

struct EncoderParameter {
  Guid guid;
  uint32_t value;  // one 32-bit value of type kValueTypeLong
};

// Which parameters a save gets: ".jpg" the quality, ".tiff" compression and
// colour depth, everything else (".jpeg", ".tif" too) the encoder defaults.
std::vector<EncoderParameter> ParametersFor(std::string_view ext, uint32_t jpeg_quality, uint32_t tiff_depth,
                                            uint32_t tiff_compression);

// The parameters laid out as GDI+'s EncoderParameters block for pointers of
// `pointer_size` bytes: a 32-bit count (padded to pointer alignment), then
// per parameter the GUID, a 32-bit number of values, a 32-bit type and a
// pointer to the value. The values follow the block; each pointer holds
// `base` + the value's offset, so with `base` the block's own address the
// bytes can be handed to GDI+ as they are. 4-byte pointers give 32 bytes
// for one parameter and 60 for two; 8-byte pointers give 40 and 72.
std::vector<uint8_t> LayoutParameters(const std::vector<EncoderParameter>& params, size_t pointer_size,
                                      uint64_t base);
// Size of the header and parameter records only (without the values).
size_t ParameterBlockSize(size_t count, size_t pointer_size);

// ---- errors ---------------------------------------------------------------------------
// Why a save wrote no file. The numbers are GDI+'s status codes where GDI+
// failed; kNoPicture and kNoEncoder are the picker's own.
struct SaveError {
  int number = 0;
  std::string description;  // UTF-8
};
inline constexpr int kNoPicture = 1001;
inline constexpr int kNoEncoder = 1002;
inline constexpr int kNothingWritten = 1003;
SaveError NoPictureError();
SaveError NoEncoderError(std::string_view ext);
SaveError GdiplusStartError(int status);
SaveError BitmapError(int status);
SaveError EncoderError(int status, std::string_view path);
SaveError NothingWrittenError(std::string_view path);

inline constexpr const char* kErrorTitle = "错误";
// "在保存图片的过程中发生错误:" CRLF CRLF "错误号: n" CRLF "错误描述: ...".
std::string ErrorMessage(const SaveError& error);

}  // namespace vardo::savepic
