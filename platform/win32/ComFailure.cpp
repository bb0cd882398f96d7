#include "platform/win32/ComFailure.h"

#include "platform/win32/SystemFolder.h"

namespace platform::win32 {

namespace {

// Loaded for its resources only: no code of it runs, and no search can swap in another file.
class DataModule {
 public:
  explicit DataModule(const Text& path)
      : module_(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~DataModule() {
    if (module_) FreeLibrary(module_);
  }
  DataModule(const DataModule&) = delete;
  DataModule& operator=(const DataModule&) = delete;
  HMODULE Get() const { return module_; }

 private:
  HMODULE module_;
};

Text FormattedMessage(HRESULT hr, DWORD source, HMODULE module) {
  wchar_t buffer[512];
  DWORD length =
      FormatMessageW(source | FORMAT_MESSAGE_IGNORE_INSERTS, module, static_cast<DWORD>(hr), 0,
                     buffer, sizeof(buffer) / sizeof(buffer[0]), nullptr);
  while (length > 0 && (buffer[length - 1] == L'\n' || buffer[length - 1] == L'\r' ||
                        buffer[length - 1] == L' ')) {
    --length;
  }
  // Keep the program's single-CR line breaks in the report.
  Text message;
  for (DWORD i = 0; i < length; ++i) {
    if (buffer[i] == L'\n' && i > 0 && buffer[i - 1] == L'\r') continue;
    message += buffer[i];
  }
  return message;
}

bool IsWmiCode(HRESULT hr) {
  const auto code = static_cast<DWORD>(hr);
  return code >= 0x80041000 && code <= 0x80041FFF;
}

}  // namespace

Text HresultMessage(HRESULT hr, const Text& wmiMessages) {
  Text message = FormattedMessage(hr, FORMAT_MESSAGE_FROM_SYSTEM, nullptr);
  if (message.empty() && IsWmiCode(hr) && !wmiMessages.empty()) {
    DataModule module(wmiMessages);
    if (module.Get()) message = FormattedMessage(hr, FORMAT_MESSAGE_FROM_HMODULE, module.Get());
  }
  return message;
}

Failure ComFailure(HRESULT hr, const wchar_t* fallback) {
  Text description(fallback);
  // WMI's message table, in the system's own copy: %SystemRoot%\system32\wbem\wmiutils.dll.
  const Text message = HresultMessage(hr, SystemFolderPath(L"wbem\\wmiutils.dll"));
  if (!message.empty()) description += kCr + message;
  return Failure(static_cast<long>(hr), description);
}

}  // namespace platform::win32
