#include "platform/DateTime.h"

#include <windows.h>

namespace platform {

Text CurrentDateText() {
  wchar_t buffer[128];
  int length = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, 128);
  return length > 0 ? Text(buffer, static_cast<std::size_t>(length - 1)) : Text();
}

Text CurrentTimeText() {
  wchar_t buffer[128];
  int length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, 128);
  return length > 0 ? Text(buffer, static_cast<std::size_t>(length - 1)) : Text();
}

}  // namespace platform
