#pragma once

#include <windows.h>

// Each class's number is written here alone, as the registry writes it. The stand-in's code
// and its registration take it from here, and so do the e2e scripts, which read this file
// (scripts/lib/clsid.sh): keep each on one line of this form.
namespace standin {

// The stand-in's class, the handler of "winmgmts:" monikers once it is registered.
inline constexpr wchar_t kClsidText[] = L"{FC9E4CC3-A2E3-4DE8-97B0-EA0DE22B3767}";

// The stand-in's System Restore object served from FerruleStandInServer.exe, a local server.
inline constexpr wchar_t kServerClsidText[] = L"{A6D955E0-C56A-49EA-B8AE-36FDAD9DB5EB}";

// The class Wine registers for the winmgmts ProgID, which the stand-in replaces.
inline constexpr wchar_t kWineWinmgmtsClsidText[] = L"{172BDDF8-CEEA-11D1-8B05-00600806D9B6}";

namespace clsid {

// Not defined: a text that is not a class number fails to build where it is read.
unsigned NotAHexDigit();

constexpr unsigned HexDigit(wchar_t c) {
  return c >= L'0' && c <= L'9'   ? c - L'0'
         : c >= L'A' && c <= L'F' ? c - L'A' + 10
         : c >= L'a' && c <= L'f' ? c - L'a' + 10
                                  : NotAHexDigit();
}

constexpr unsigned long Hex(const wchar_t* text, int digits) {
  unsigned long value = 0;
  for (int i = 0; i < digits; ++i) value = value * 16 + HexDigit(text[i]);
  return value;
}

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}", read at build time.
constexpr CLSID Of(const wchar_t (&text)[39]) {
  CLSID id = {};
  id.Data1 = Hex(text + 1, 8);
  id.Data2 = static_cast<unsigned short>(Hex(text + 10, 4));
  id.Data3 = static_cast<unsigned short>(Hex(text + 15, 4));
  for (int i = 0; i < 8; ++i) {
    id.Data4[i] = static_cast<unsigned char>(Hex(text + (i < 2 ? 20 : 21) + 2 * i, 2));
  }
  return id;
}

}  // namespace clsid

inline constexpr CLSID kClsid = clsid::Of(kClsidText);
inline constexpr CLSID kServerClsid = clsid::Of(kServerClsidText);
inline constexpr CLSID kWineWinmgmtsClsid = clsid::Of(kWineWinmgmtsClsidText);

}  // namespace standin
