// Files dropped on the layer's handle, delivered as real X11 drag-and-drop
// by the xdnd_drop tool (the only way a drop reaches a window under Wine):
// the first file becomes a pinned image, centred at its own size; bad
// files add nothing and the next drop still works.
#include <gtest/gtest.h>

#include "../support/hostile_images.h"
#include "harness_win.h"
#include "pin_support_win.h"
#include "vardo_support_win.h"

namespace e2e {
namespace {

using pins::Images;
using pins::RedAndClear;
using pins::StartVardo;

class PinDrops : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string why = dropper_.unavailable(); !why.empty()) GTEST_SKIP() << why;
  }
  int Drop(POINT at, const std::vector<std::wstring>& files) { return dropper_.Drop(at, files); }
  static POINT HandleCentre(const vardo::Running& v) { return vardo::Centre(v.handle); }

  TempDir dir_{L"drops"};
  pins::Dropper dropper_{dir_};
};

// Expects one image of w x h centred on the screen whose left half is
// `left`, right half `right`, bottom bar blue, as seen on the screen.
void ExpectCentredPicture(HWND image, int w, int h, uint32_t left, uint32_t right) {
  SIZE s = ScreenSize();
  RECT r = RectOf(image);
  EXPECT_EQ(r.right - r.left, w);
  EXPECT_EQ(r.bottom - r.top, h);
  EXPECT_EQ(r.left, (s.cx - w) / 2);
  EXPECT_EQ(r.top, (s.cy - h) / 2);
  Image shot = CaptureRect(r.left, r.top, w, h);
  ASSERT_EQ(shot.width, w);
  POINT mid{r.left + w / 2, r.top + h / 2};
  EXPECT_EQ(GetAncestor(WindowFromPoint(mid), GA_ROOT), GetAncestor(image, GA_ROOT)) << "covered by another window";
  EXPECT_LE(ColourDistance(shot.at(2, 2), left), 2);
  EXPECT_LE(ColourDistance(shot.at(w / 4, h / 2), left), 2);
  EXPECT_LE(ColourDistance(shot.at(w - 3, 2), right), 2);
  EXPECT_LE(ColourDistance(shot.at(3 * w / 4, h / 2), right), 2);
  EXPECT_LE(ColourDistance(shot.at(w / 2, h - 2), Rgb(0, 0, 255)), 2);
}

TEST_F(PinDrops, PngOnTheHandleIsPinnedCentredAtItsOwnSizeOverWhite) {
  vardo::Running v = StartVardo();
  ASSERT_TRUE(v.layer && v.handle.right > 0);
  ASSERT_TRUE(EncodeArgbPng(90, 60, RedAndClear(90, 60), dir_ / L"clear.png"));
  ASSERT_EQ(Drop(HandleCentre(v), {dir_ / L"clear.png"}), 0);
  std::vector<HWND> images;
  ASSERT_TRUE(WaitUntil([&] { return (images = Images(v.layer)).size() == 1; }, 3000));
  ExpectCentredPicture(images[0], 90, 60, Rgb(255, 0, 0), Rgb(255, 255, 255));
  // A second drop comes in front of the first.
  ASSERT_TRUE(EncodeArgbPng(50, 40, RedAndClear(50, 40), dir_ / L"second.png"));
  ASSERT_EQ(Drop(HandleCentre(v), {dir_ / L"second.png"}), 0);
  ASSERT_TRUE(WaitUntil([&] { return (images = Images(v.layer)).size() == 2; }, 3000));
  ExpectCentredPicture(images[0], 50, 40, Rgb(255, 0, 0), Rgb(255, 255, 255));
}

TEST_F(PinDrops, OfThreeDroppedFilesOnlyTheFirstIsAdded) {
  vardo::Running v = StartVardo();
  ASSERT_TRUE(v.layer && v.handle.right > 0);
  const int sizes[3][2] = {{70, 30}, {40, 80}, {100, 100}};
  std::vector<std::wstring> files;
  for (int i = 0; i < 3; ++i) {
    files.push_back(dir_ / (L"many" + std::to_wstring(i) + L".png"));
    ASSERT_TRUE(EncodeArgbPng(sizes[i][0], sizes[i][1], RedAndClear(sizes[i][0], sizes[i][1]), files.back()));
  }
  ASSERT_EQ(Drop(HandleCentre(v), files), 0);
  std::vector<HWND> images;
  ASSERT_TRUE(WaitUntil([&] { return !(images = Images(v.layer)).empty(); }, 3000));
  Settle(500);
  images = Images(v.layer);
  ASSERT_EQ(images.size(), 1u);
  ExpectCentredPicture(images[0], 70, 30, Rgb(255, 0, 0), Rgb(255, 255, 255));
}

TEST_F(PinDrops, BadFilesAddNothingAndTheNextGoodDropWorks) {
  vardo::Running v = StartVardo();
  ASSERT_TRUE(v.layer && v.handle.right > 0);
  ASSERT_TRUE(EncodeArgbPng(64, 48, RedAndClear(64, 48), dir_ / L"good.png"));
  const std::vector<uint8_t> good = ReadFileBytes(dir_ / L"good.png");
  ASSERT_GT(good.size(), 60u);
  ASSERT_TRUE(WriteFileBytes(dir_ / L"empty.png", {}));
  ASSERT_TRUE(WriteFileBytes(dir_ / L"truncated.png", std::vector<uint8_t>(good.begin(), good.begin() + 60)));
  const std::string words = "not a picture at all";
  ASSERT_TRUE(WriteFileBytes(dir_ / L"words.bmp", std::vector<uint8_t>(words.begin(), words.end())));
  ASSERT_TRUE(WriteFileBytes(dir_ / L"noextension", good));
  ASSERT_TRUE(CreateDirectoryW((dir_ / L"folder.png").c_str(), nullptr));
  std::vector<uint8_t> huge = good;  // IHDR claims 100000 x 100000
  for (int i = 0; i < 2; ++i) {
    huge[16 + 4 * i] = 0x00;
    huge[17 + 4 * i] = 0x01;
    huge[18 + 4 * i] = 0x86;
    huge[19 + 4 * i] = 0xA0;
  }
  ASSERT_TRUE(WriteFileBytes(dir_ / L"huge.png", huge));

  // One good pin first: bad drops must leave it alone.
  ASSERT_EQ(Drop(HandleCentre(v), {dir_ / L"good.png"}), 0);
  std::vector<HWND> images;
  ASSERT_TRUE(WaitUntil([&] { return (images = Images(v.layer)).size() == 1; }, 3000));
  HWND first = images[0];
  const RECT first_rect = RectOf(first);
  const size_t children = ChildWindows(v.layer, false).size();

  const struct {
    const char* what;
    std::wstring path;
  } bad[] = {{"empty", dir_ / L"empty.png"},        {"truncated", dir_ / L"truncated.png"},
             {"not a picture", dir_ / L"words.bmp"}, {"no dot", dir_ / L"noextension"},
             {"a folder", dir_ / L"folder.png"},    {"over the pixel limit", dir_ / L"huge.png"},
             {"missing", dir_ / L"gone.png"}};
  for (const auto& b : bad) {
    // The drop itself is delivered (the tool may report the target turned
    // a vanished file down); what counts is that nothing is added.
    Drop(HandleCentre(v), {b.path});
    EXPECT_TRUE(v.process.Running()) << b.what;
    EXPECT_EQ(ChildWindows(v.layer, false).size(), children) << b.what;
    EXPECT_EQ(Images(v.layer).size(), 1u) << b.what;
  }
  EXPECT_TRUE(IsWindowVisible(first));
  RECT still = RectOf(first);
  EXPECT_TRUE(EqualRect(&still, &first_rect));

  // The next good drop works and takes the very next index: caption "2#".
  ASSERT_TRUE(EncodeArgbPng(30, 20, RedAndClear(30, 20), dir_ / L"next.png"));
  ASSERT_EQ(Drop(HandleCentre(v), {dir_ / L"next.png"}), 0);
  ASSERT_TRUE(WaitUntil([&] { return (images = Images(v.layer)).size() == 2; }, 3000));
  ExpectCentredPicture(images[0], 30, 20, Rgb(255, 0, 0), Rgb(255, 255, 255));
  EXPECT_EQ(ChildWindows(v.layer, false).size(), children + 2);
  EXPECT_TRUE(FindChildByText(v.layer, L"2#") != nullptr);
  EXPECT_TRUE(FindChildByText(v.layer, L"3#") == nullptr);
  RemoveDirectoryW((dir_ / L"folder.png").c_str());
}

// Every file of the hostile set dropped on the handle of one running Vardo,
// each followed by a good file of its own size: once the good file shows,
// the hostile one has been dealt with, so the layer can be checked.
TEST_F(PinDrops, HostileFilesArePinnedRightOrAddNothingAndVardoCarriesOn) {
  vardo::Running v = StartVardo();
  ASSERT_TRUE(v.layer && v.handle.right > 0);
  const auto set = ::vardo::hostile::HostileFiles();
  size_t images = 0;
  size_t children = ChildWindows(v.layer, false).size();
  int step = 0;
  for (const auto& f : set) {
    SCOPED_TRACE(f.what);
    const std::wstring path = dir_ / std::wstring(f.name.begin(), f.name.end());
    if (f.folder)
      ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    else
      ASSERT_TRUE(WriteFileBytes(path, f.bytes));
    const int gw = 20 + step, gh = 10 + step;  // a size no other image has
    const std::wstring marker = dir_ / (L"marker" + std::to_wstring(step++) + L".png");
    ASSERT_TRUE(EncodeArgbPng(gw, gh, RedAndClear(gw, gh), marker));
    Drop(HandleCentre(v), {path});
    ASSERT_EQ(Drop(HandleCentre(v), {marker}), 0);
    std::vector<HWND> now;
    ASSERT_TRUE(WaitUntil(
        [&] {
          now = Images(v.layer);
          if (now.empty()) return false;
          RECT r = RectOf(now[0]);
          return r.right - r.left == gw && r.bottom - r.top == gh;
        },
        10000))
        << "the good file after it was not pinned";
    ASSERT_TRUE(v.process.Running());
    const size_t added = now.size() - images - 1;  // the hostile file's share
    EXPECT_LE(added, 1u);
    if (f.outcome == ::vardo::hostile::Outcome::Refused) {
      EXPECT_EQ(added, 0u);
    } else if (f.outcome == ::vardo::hostile::Outcome::Pinned) {
      EXPECT_EQ(added, 1u);
    }
    if (added == 1 && f.width > 0) {
      RECT r = RectOf(now[1]);
      EXPECT_EQ(r.right - r.left, f.width);
      EXPECT_EQ(r.bottom - r.top, f.height);
    }
    // Nothing else: one image box and one caption per pinned file.
    images = now.size();
    children += 2 * (1 + added);
    EXPECT_EQ(ChildWindows(v.layer, false).size(), children);
  }
  RemoveDirectoryW((dir_ / L"folder.png").c_str());
}

TEST_F(PinDrops, NonAsciiFileNameLoads) {
  vardo::Running v = StartVardo();
  ASSERT_TRUE(v.layer && v.handle.right > 0);
  const std::wstring name = dir_ / L"贴图 ü.PNG";
  ASSERT_TRUE(EncodeArgbPng(80, 50, RedAndClear(80, 50), name));
  ASSERT_EQ(Drop(HandleCentre(v), {name}), 0);
  std::vector<HWND> images;
  ASSERT_TRUE(WaitUntil([&] { return (images = Images(v.layer)).size() == 1; }, 3000));
  ExpectCentredPicture(images[0], 80, 50, Rgb(255, 0, 0), Rgb(255, 255, 255));
}

TEST_F(PinDrops, DropAwayFromTheHandleAddsNothing) {
  vardo::Running v = StartVardo();
  ASSERT_TRUE(v.layer && v.handle.right > 0);
  ASSERT_TRUE(EncodeArgbPng(40, 40, RedAndClear(40, 40), dir_ / L"aside.png"));
  // Just left of the handle: the layer's see-through area.
  POINT beside{v.handle.left - 30, (v.handle.top + v.handle.bottom) / 2};
  const int beside_result = Drop(beside, {dir_ / L"aside.png"});
  // Then a good file on the handle: once it is pinned, the drop beside has
  // long been handled, and it is the only image.
  ASSERT_TRUE(EncodeArgbPng(25, 15, RedAndClear(25, 15), dir_ / L"marker.png"));
  ASSERT_EQ(Drop(HandleCentre(v), {dir_ / L"marker.png"}), 0);
  std::vector<HWND> images;
  ASSERT_TRUE(WaitUntil([&] { return !(images = Images(v.layer)).empty(); }, 3000)) << "the good file was not pinned";
  ASSERT_EQ(images.size(), 1u) << "the drop beside the handle (its result " << beside_result << ") added an image";
  const RECT r = RectOf(images[0]);
  EXPECT_EQ(r.right - r.left, 25);
  EXPECT_EQ(r.bottom - r.top, 15);
  EXPECT_TRUE(v.process.Running());
}

}  // namespace
}  // namespace e2e
