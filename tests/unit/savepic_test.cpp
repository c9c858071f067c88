// Picture saving: the dialog's filters, the encoder and parameters chosen by
// extension, the parameter blocks' bytes and the error message.
#include <gtest/gtest.h>

#include <cstring>

#include "common/savepic.h"

namespace vardo::savepic {
namespace {

TEST(SavePicture, FilterListInOrder) {
  const std::string f = FilterList();
  std::vector<std::string> items;
  size_t pos = 0;
  while (pos < f.size() && f[pos] != '\0') {
    size_t end = f.find('\0', pos);
    items.push_back(f.substr(pos, end - pos));
    pos = end + 1;
  }
  const std::vector<std::string> want = {"PNG File(*.PNG)",   "*.PNG", "JPEG File(*.jpg;*.jpeg)", "*.jpg",
                                         "Bitmap File(*.bmp)", "*.bmp", "GIF File(*.gif)",         "*.gif",
                                         "TIFF File(*.TIFF)", "*.tiff", "All File(*.*)",           "*.*"};
  EXPECT_EQ(items, want);
  EXPECT_EQ(pos, f.size() - 1);  // a second NUL ends the list
}

TEST(SavePicture, ExtensionOfTheFileNameOnly) {
  EXPECT_EQ(ExtensionOf("C:\\pics\\shot.PNG"), "PNG");
  EXPECT_EQ(ExtensionOf("C:\\pics\\a.b.jpeg"), "jpeg");
  EXPECT_EQ(ExtensionOf("C:\\my.folder\\shot"), "");
  EXPECT_EQ(ExtensionOf("shot."), "");
  EXPECT_EQ(ExtensionOf("x.tif"), "tif");
}

TEST(SavePicture, EncoderChoiceByWholeExtension) {
  // GDI+'s built-in encoders, in its order.
  const std::vector<std::string> encoders = {"*.BMP;*.DIB;*.RLE", "*.JPG;*.JPEG;*.JPE;*.JFIF", "*.GIF",
                                             "*.TIF;*.TIFF", "*.PNG"};
  struct Case {
    const char* ext;
    std::optional<size_t> want;
  } cases[] = {{"PNG", 4}, {"png", 4}, {"jpg", 1}, {"JPEG", 1}, {"jpe", 1}, {"bmp", 0}, {"dib", 0},
               {"gif", 2}, {"tif", 3}, {"TIFF", 3}, {"txt", std::nullopt}, {"", std::nullopt},
               // Fragments of an extension are not extensions.
               {"p", std::nullopt}, {"if", std::nullopt}, {"jp", std::nullopt}, {"*", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(ChooseEncoder(encoders, c.ext), c.want) << c.ext;
}

TEST(SavePicture, ParametersByExtension) {
  auto jpg = ParametersFor("JPG", 80, 24, 6);
  ASSERT_EQ(jpg.size(), 1u);
  EXPECT_EQ(jpg[0].guid, kEncoderQuality);
  EXPECT_EQ(jpg[0].value, 80u);
  auto tiff = ParametersFor("tiff", 80, 24, 6);
  ASSERT_EQ(tiff.size(), 2u);
  EXPECT_EQ(tiff[0].guid, kEncoderCompression);
  EXPECT_EQ(tiff[0].value, 6u);
  EXPECT_EQ(tiff[1].guid, kEncoderColorDepth);
  EXPECT_EQ(tiff[1].value, 24u);
  for (const char* other : {"jpeg", "tif", "png", "bmp", "gif", "txt"})
    EXPECT_TRUE(ParametersFor(other, 80, 24, 6).empty()) << other;
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST(SavePicture, JpegBlockLayoutWith32BitPointers) {
  auto block = LayoutParameters(ParametersFor("jpg", 80, 24, 6), 4, 0x1000);
  ASSERT_EQ(ParameterBlockSize(1, 4), 32u);
  ASSERT_EQ(block.size(), 32u + 4u);
  EXPECT_EQ(U32(block, 0), 1u);
  const uint8_t quality[16] = {0xB5, 0xE4, 0x5B, 0x1D, 0x4A, 0xFA, 0x2D, 0x45,
                               0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB};
  EXPECT_EQ(std::memcmp(&block[4], quality, 16), 0);
  EXPECT_EQ(U32(block, 20), 1u);  // one value
  EXPECT_EQ(U32(block, 24), 4u);  // 32-bit integer
  EXPECT_EQ(U32(block, 28), 0x1000u + 32u);  // points at the value
  EXPECT_EQ(U32(block, 32), 80u);
}

TEST(SavePicture, TiffBlockLayoutWith32BitPointers) {
  auto block = LayoutParameters(ParametersFor("tiff", 80, 24, 6), 4, 0);
  ASSERT_EQ(ParameterBlockSize(2, 4), 60u);
  ASSERT_EQ(block.size(), 60u + 8u);
  EXPECT_EQ(U32(block, 0), 2u);
  const uint8_t compression[16] = {0x9D, 0x73, 0x9D, 0xE0, 0xD4, 0xCC, 0xEE, 0x44,
                                   0x8E, 0xBA, 0x3F, 0xBF, 0x8B, 0xE4, 0xFC, 0x58};
  const uint8_t depth[16] = {0x55, 0x70, 0x08, 0x66, 0x66, 0xAD, 0x7C, 0x4C,
                             0x9A, 0x18, 0x38, 0xA2, 0x31, 0x0B, 0x83, 0x37};
  EXPECT_EQ(std::memcmp(&block[4], compression, 16), 0);
  EXPECT_EQ(U32(block, 20), 1u);
  EXPECT_EQ(U32(block, 24), 4u);
  EXPECT_EQ(U32(block, U32(block, 28)), 6u);
  EXPECT_EQ(std::memcmp(&block[32], depth, 16), 0);
  EXPECT_EQ(U32(block, 48), 1u);
  EXPECT_EQ(U32(block, 52), 4u);
  EXPECT_EQ(U32(block, U32(block, 56)), 24u);
}

TEST(SavePicture, BlockLayoutWith64BitPointers) {
  auto block = LayoutParameters(ParametersFor("tiff", 80, 24, 6), 8, 0x10000);
  ASSERT_EQ(ParameterBlockSize(2, 8), 72u);
  ASSERT_EQ(block.size(), 72u + 8u);
  EXPECT_EQ(U32(block, 0), 2u);
  EXPECT_EQ(U32(block, 4), 0u);  // padding before the 8-aligned records
  EXPECT_EQ(block[8], 0x9D);
  EXPECT_EQ(U32(block, 8 + 24), 0x10000u + 72u);
  EXPECT_EQ(U32(block, 8 + 28), 0u);
  EXPECT_EQ(block[40], 0x55);
  EXPECT_EQ(U32(block, 40 + 24), 0x10000u + 76u);
  EXPECT_EQ(U32(block, 72), 6u);
  EXPECT_EQ(U32(block, 76), 24u);
}

TEST(SavePicture, ErrorMessageText) {
  const std::string m = ErrorMessage(SaveError{7, "无法写入文件 \"C:\\x.png\""});
  EXPECT_EQ(m, "在保存图片的过程中发生错误:\r\n\r\n错误号: 7\r\n错误描述: 无法写入文件 \"C:\\x.png\"");
  // The descriptions say what failed.
  EXPECT_NE(NoEncoderError("txt").description.find(".txt"), std::string::npos);
  EXPECT_NE(EncoderError(10, "D:\\a\\b.png").description.find("D:\\a\\b.png"), std::string::npos);
  EXPECT_EQ(NoEncoderError("txt").number, kNoEncoder);
  EXPECT_EQ(EncoderError(10, "x").number, 10);
}

}  // namespace
}  // namespace vardo::savepic
