#include "ops/RegistryDeclarationsAndFunctions.h"

#include <cstdint>

namespace RegistryDeclarationsAndFunctions {

using platform::AnsiText;
using platform::Text;
using platform::registry::FromAnsi;
using platform::registry::kErrorSuccess;
using platform::registry::kRegExpandSz;
using platform::registry::kRegSz;
using platform::registry::ToAnsi;

namespace {

// Closes the key when the reader returns, also when the open failed and it is still 0.
class OpenedKey {
 public:
  OpenedKey() = default;
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;
  ~OpenedKey() { RegCloseKey(handle); }
  Key handle = 0;
};

}  // namespace

Text GetRegistryString(Key hKey, const Text& strPath, const Text& strValue,
                       const Text& strDefault) {
  Text result = strDefault;
  OpenedKey key;
  std::uint32_t valueType = 0;
  std::uint32_t byteCount = 0;

  // A failed open leaves the handle 0, and the query below then fails.
  RegOpenKeyA(hKey, ToAnsi(strPath), &key.handle);
  const AnsiText valueName = ToAnsi(strValue);
  if (RegQueryValueExA(key.handle, valueName, nullptr, &valueType, nullptr, &byteCount) !=
      kErrorSuccess) {
    return result;
  }
  if (valueType != kRegSz && valueType != kRegExpandSz) return result;

  AnsiText buffer(byteCount, ' ');
  std::uint32_t scratchType = 0;
  // The value may have changed since the first query; a failed read is no string at all.
  if (RegQueryValueExA(key.handle, valueName, nullptr, &scratchType, buffer.data(), &byteCount) !=
      kErrorSuccess) {
    return result;
  }

  const Text text = FromAnsi(buffer);
  // size_t, not 16 bits: a value of any length is read whole.
  std::size_t firstNul = 0;
  while (firstNul < text.size() && text[firstNul] != L'\0') ++firstNul;
  result = Text(text.data(), firstNul);
  return result;
}

}  // namespace RegistryDeclarationsAndFunctions
