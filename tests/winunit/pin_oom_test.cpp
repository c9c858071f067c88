// Adds that run out of memory part-way, in-process: this program's
// operator new fails at the n-th allocation of an add, for every n the add
// makes. Each add then either succeeds whole or leaves everything as it
// was: no windows, no index taken, the pins already made untouched.
#include <cstdlib>
#include <iostream>
#include <new>

#include "imaging_support_win.h"
#include "common/process_win.h"
#include "pinned/pin_layer_win.h"

namespace {
// Allocations left before the next one fails; negative: never fail.
long g_allocations_left = -1;
bool g_failed = false;
}  // namespace

void* operator new(std::size_t size) {
  if (g_allocations_left == 0) {
    g_allocations_left = -1;
    g_failed = true;
    throw std::bad_alloc();
  }
  if (g_allocations_left > 0) --g_allocations_left;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
// GCC takes the replaced pair for a mismatch when it inlines them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace vardo::testing_imaging {
namespace {

const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// Runs `add` with the n-th allocation failing, for n = 0, 1, 2 ... until an
// add runs without reaching a failure. Returns how many failures were met.
template <class Add>
int EveryFailurePoint(PinLayer& layer, Add add) {
  HWND first_pin = GetWindow(layer.hwnd(), GW_CHILD);
  RECT first_rect{};
  if (first_pin) GetWindowRect(first_pin, &first_rect);
  int failures = 0;
  for (long n = 0; n < 500; ++n) {
    const std::string before = layer.imgnum;
    const int children = ChildCount(layer.hwnd());
    g_failed = false;
    g_allocations_left = n;
    add();
    g_allocations_left = -1;
    if (!g_failed) {
      // Ran to the end: the whole image is there.
      EXPECT_EQ(layer.imgnum, std::to_string(std::stoi(before) + 1)) << "n = " << n;
      EXPECT_NE(layer.Image(std::stoi(before)), nullptr);
      EXPECT_EQ(ChildCount(layer.hwnd()), children + 2);
      return failures;
    }
    ++failures;
    // Failed part-way: nothing at all.
    EXPECT_EQ(layer.imgnum, before) << "n = " << n;
    EXPECT_EQ(layer.Image(std::stoi(before)), nullptr) << "n = " << n;
    EXPECT_EQ(ChildCount(layer.hwnd()), children) << "n = " << n;
    if (first_pin) {
      RECT r{};
      GetWindowRect(first_pin, &r);
      EXPECT_TRUE(IsWindow(first_pin) && EqualRect(&r, &first_rect)) << "n = " << n;
    }
    if (::testing::Test::HasFailure()) return failures;
  }
  ADD_FAILURE() << "the add never got through";
  return failures;
}

TEST(PinOutOfMemory, AClipboardAddSucceedsWholeOrAddsNothing) {
  PinLayer& layer = afterdoch();
  ASSERT_TRUE(PutBitmapOnClipboard(BitmapFrom(MakePicture(40, 30, [](int, int) { return 0x0000FFu; })).release()));
  layer.Command3_Click();  // one pin that must stay untouched
  ASSERT_EQ(layer.imgnum, "2");
  const int failures = EveryFailurePoint(layer, [&] { layer.Command3_Click(); });
  // The add allocates (at least the image and its place in the layer's
  // table): each of those failures was met and survived.
  std::cout << "[oom] clipboard add: " << failures << " allocations failed in turn\n";
  EXPECT_GE(failures, 2);
  // And afterwards adds work as usual.
  layer.Command3_Click();
  EXPECT_EQ(layer.imgnum, "4");
}

TEST(PinOutOfMemory, AFileAddSucceedsWholeOrAddsNothing) {
  PinLayer& layer = afterdoch();
  ScratchDir dir;
  ASSERT_TRUE(WritePng(MakePicture(30, 20, [](int, int) { return 0x00C000u; }), dir / L"pin.png"));
  const std::wstring path = dir / L"pin.png";
  ASSERT_TRUE(layer.AddImageFile(layer.imgnum, path));
  const int failures = EveryFailurePoint(layer, [&] { layer.AddImageFile(layer.imgnum, path); });
  std::cout << "[oom] file add: " << failures << " allocations failed in turn\n";
  EXPECT_GE(failures, 3);
  EXPECT_TRUE(layer.AddImageFile(layer.imgnum, path));
}

}  // namespace
}  // namespace vardo::testing_imaging
