#include "platform/win32/ComFailure.h"

namespace platform::win32 {

Failure ComFailure(HRESULT hr, const wchar_t* fallback) {
  wchar_t buffer[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                static_cast<DWORD>(hr), 0, buffer,
                                sizeof(buffer) / sizeof(buffer[0]), nullptr);
  Text description(fallback);
  if (length > 0) {
    Text message(buffer, length);
    while (!message.empty() &&
           (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
      message.pop_back();
    }
    // Keep the program's single-CR line breaks in the report.
    for (std::size_t at; (at = message.find(L"\r\n")) != Text::npos;) message.erase(at + 1, 1);
    description += kCr + message;
  }
  return Failure(static_cast<long>(hr), description);
}

}  // namespace platform::win32
