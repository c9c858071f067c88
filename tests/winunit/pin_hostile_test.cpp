// The pin layer's add-from-file operation against the hostile picture set:
// each file is pinned at its right size or refused, in at most 100 ms of
// the process's processor time (wall time on a loaded machine says little),
// and a refused file leaves no window, no index and no pin behind.
#include <chrono>
#include <cstdio>

#include "../support/hostile_images.h"
#include "common/process_win.h"
#include "imaging_support_win.h"
#include "pinned/pin_layer_win.h"

namespace vardo::testing_imaging {
namespace {

const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// User and kernel time of every thread of this process, in milliseconds.
double ProcessCpuMs() {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
  auto ms = [](const FILETIME& f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e4; };
  return ms(kernel) + ms(user);
}

uint32_t At(const PixelBuffer& p, int x, int y) { return p.pixels[static_cast<size_t>(y) * p.width + x] & 0xFFFFFF; }

TEST(PinHostileFiles, EachIsPinnedRightOrRefusedQuicklyAndNothingIsLeftBehind) {
  PinLayer& layer = afterdoch();
  ScratchDir dir;
  const auto set = hostile::HostileFiles();
  ASSERT_GE(set.size(), 15u);
  for (const auto& f : set) {
    const std::wstring path = dir / Widen(f.name);
    if (f.folder)
      ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    else
      ASSERT_TRUE(WriteBytes(path, f.bytes)) << f.what;
  }

  for (const auto& f : set) {
    SCOPED_TRACE(f.what);
    const std::string before = layer.imgnum;
    const int n = std::stoi(before);
    const int children = ChildCount(layer.hwnd());
    const double cpu0 = ProcessCpuMs();
    const auto wall0 = std::chrono::steady_clock::now();
    const bool added = layer.AddImageFile(before, dir / Widen(f.name));
    const double cpu = ProcessCpuMs() - cpu0;
    const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0).count();
    std::printf("%-55s %-8s %6.1f ms processor, %6.1f ms wall\n", f.what, added ? "pinned" : "refused", cpu, wall);
    EXPECT_LE(cpu, 100.0);

    if (f.outcome == hostile::Outcome::Refused) {
      EXPECT_FALSE(added);
    } else if (f.outcome == hostile::Outcome::Pinned) {
      EXPECT_TRUE(added);
    }
    if (!added) {
      EXPECT_EQ(layer.imgnum, before);
      EXPECT_EQ(layer.Image(n), nullptr);
      EXPECT_EQ(ChildCount(layer.hwnd()), children);
      continue;
    }
    EXPECT_EQ(layer.imgnum, std::to_string(n + 1));
    EXPECT_EQ(ChildCount(layer.hwnd()), children + 2);  // the image and its caption
    PinnedImage* image = layer.Image(n);
    ASSERT_NE(image, nullptr);
    if (f.width > 0) {
      EXPECT_EQ(image->box().width, f.width);
      EXPECT_EQ(image->box().height, f.height);
    } else {
      EXPECT_GT(image->box().width, 0);
      EXPECT_GT(image->box().height, 0);
    }
    if (f.top != 0xFFFFFFFFu) {
      auto px = PixelsFromHBitmap(image->picture());
      ASSERT_TRUE(px);
      EXPECT_EQ(At(*px, px->width / 2, 0), f.top);
      EXPECT_EQ(At(*px, px->width / 2, px->height - 1), f.bottom);
    }
  }
  RemoveDirectoryW((dir / L"folder.png").c_str());

  // The layer still takes a good file at the next index.
  const std::string next = layer.imgnum;
  ASSERT_TRUE(WritePng(MakePicture(10, 10, [](int, int) { return 0xFF00FF00u; }), dir / L"after.png"));
  ASSERT_TRUE(layer.AddImageFile(next, dir / L"after.png"));
  EXPECT_EQ(layer.imgnum, std::to_string(std::stoi(next) + 1));
}

}  // namespace
}  // namespace vardo::testing_imaging
