// WMI's codes have no words in the system's message table; reports take them from WMI's own.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/ComFailure.h"

namespace {

std::wstring TestTable() {
  std::wstring path = L"Z:" FERRULE_WMI_MESSAGES;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

std::wstring HresultMessage(HRESULT hr, const std::wstring& table) {
  const platform::Text words =
      platform::win32::HresultMessage(hr, platform::Text(table.data(), table.size()));
  return std::wstring(words.data(), words.size());
}

TEST(WmiMessages, WmiCodesTakeTheirWordsFromWmisTableAndNoOtherCodeDoes) {
  struct Case {
    unsigned long hr;
    std::wstring table;
    std::wstring words;
  };
  const std::wstring table = TestTable();
  const Case cases[] = {
      {0x80041001, table, L"Test table: generic failure."},
      {0x80041FFF, table, L"Test table: the last code of WMI's range."},
      {0x80042000, table, L""},  // in the table, but not one of WMI's codes
      {0x80041010, table, L""},  // one of WMI's, but not in the table
      {0x80041001, table + L".missing", L""},
      {0x80041001, L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << std::hex << c.hr << " from " << c.table.size() << " chars");
    EXPECT_EQ(HresultMessage(static_cast<HRESULT>(c.hr), c.table), c.words);
  }
  // The system's own words come first, and the table is not asked.
  const std::wstring system = HresultMessage(static_cast<HRESULT>(0x80070005), table);
  EXPECT_FALSE(system.empty());
  EXPECT_EQ(system.find(L"Test table"), std::wstring::npos) << system.c_str();
}

}  // namespace
