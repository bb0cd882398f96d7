// The failure status must be readable whole in Label1, in the dialog font Windows gives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <iostream>
#include <stdexcept>
#include <string>

#include "ops/RestorePointAnswer.h"
#include "platform/FormDefinition.h"
#include "platform/Variant.h"
#include "res/Form1Definition.h"

namespace {

const platform::ControlDefinition& Label1() {
  for (std::size_t i = 0; i < res::kForm1.controlCount; ++i) {
    if (std::wcscmp(res::kForm1.controls[i].name, L"Label1") == 0) return res::kForm1.controls[i];
  }
  throw std::logic_error("no Label1");
}

TEST(FailureStatusFit, EveryKnownCauseFitsTheLabelBelowTheFailureLine) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  const int ppi = GetDeviceCaps(screen, LOGPIXELSY);
  HGDIOBJ old = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics = {};
  GetTextMetricsW(screen, &metrics);
  const int width = platform::TwipsToPixels(Label1().width, GetDeviceCaps(screen, LOGPIXELSX));
  const int height = platform::TwipsToPixels(Label1().height, ppi);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(screen, LF_FACESIZE, face);
  std::wcout << L"font " << face << L", line " << metrics.tmHeight << L" px, label " << width
             << L"x" << height << L" px at " << ppi << L" ppi\n";

  // The known codes, and the longest text an unknown code can give.
  for (std::int32_t code : {1058, 112, 1460, 10, 1359, 5, INT32_MIN}) {
    const platform::Text status = L"Restore Point creation Failed!\r" +
                                  Module1::DescribeAnswer(platform::Variant::Int32(code));
    RECT needed = {0, 0, width, 0};
    DrawTextW(screen, status.c_str(), static_cast<int>(status.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    std::wcout << L"code " << code << L": " << needed.right << L"x" << needed.bottom << L" px\n";
    EXPECT_LE(needed.bottom, 3 * metrics.tmHeight) << "code " << code << " needs " << needed.bottom;
    EXPECT_LE(needed.bottom, height) << "code " << code;
    EXPECT_LE(needed.right, width) << "code " << code << ": a word wider than the label";
  }
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
}

}  // namespace
