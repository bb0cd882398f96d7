#include <gtest/gtest.h>

#include <cwchar>

#include "res/Form1Definition.h"

using platform::ControlKind;
using platform::TwipsToPixels;

namespace {

struct PixelRect {
  int left, top, width, height;
  bool operator==(const PixelRect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

PixelRect At(const wchar_t* name, int ppi) {
  for (const auto& c : res::kForm1Controls) {
    if (std::wcscmp(c.name, name) == 0) {
      return {TwipsToPixels(c.left, ppi), TwipsToPixels(c.top, ppi), TwipsToPixels(c.width, ppi),
              TwipsToPixels(c.height, ppi)};
    }
  }
  ADD_FAILURE() << "no control";
  return {};
}

void PrintTo(const PixelRect& r, std::ostream* os) {
  *os << r.left << "," << r.top << " " << r.width << "x" << r.height;
}

TEST(Form1Definition, LaysOutAt96PixelsPerInch) {
  EXPECT_EQ(TwipsToPixels(res::kForm1.clientWidth, 96), 274);
  EXPECT_EQ(TwipsToPixels(res::kForm1.clientHeight, 96), 96);
  EXPECT_EQ(At(L"Label1", 96), (PixelRect{16, 8, 233, 49}));
  EXPECT_EQ(At(L"Label2", 96), (PixelRect{16, 64, 145, 17}));
  EXPECT_EQ(At(L"cmdClose", 96), (PixelRect{192, 64, 65, 25}));
}

TEST(Form1Definition, ScalesWithTheScreenAt120PixelsPerInch) {
  EXPECT_EQ(TwipsToPixels(res::kForm1.clientWidth, 120), 343);  // 342.5 rounds up
  EXPECT_EQ(TwipsToPixels(res::kForm1.clientHeight, 120), 120);
  EXPECT_EQ(At(L"Label1", 120), (PixelRect{20, 10, 291, 61}));
  EXPECT_EQ(At(L"cmdClose", 120), (PixelRect{240, 80, 81, 31}));
}

TEST(Form1Definition, ControlsAreStoredInCreationOrderWithTheirCaptions) {
  ASSERT_EQ(res::kForm1.controlCount, 4u);
  const wchar_t* names[] = {L"Timer1", L"cmdClose", L"Label2", L"Label1"};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_STREQ(res::kForm1Controls[i].name, names[i]);
  EXPECT_EQ(res::kForm1Controls[0].kind, ControlKind::kTimer);
  EXPECT_STREQ(res::kForm1Controls[1].caption, L"C&lose");
  EXPECT_STREQ(res::kForm1Controls[3].caption, L"Creating System Restore Point..........");
  EXPECT_EQ(std::wcslen(res::kForm1Controls[3].caption), 39u);
  EXPECT_STREQ(res::kForm1.caption, L"Creating Restore Point");
}

}  // namespace
