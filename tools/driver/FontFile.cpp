#include "FontFile.h"

#include <vector>

namespace driver {

namespace {

// gdi32's own records (Wine exports them; Windows from 8 on), declared here: no SDK header has
// them.
struct FontRealizationInfo {
  DWORD size;
  DWORD flags;
  DWORD cacheNumber;
  DWORD instanceId;
  DWORD unknown;
  WORD faceIndex;
  WORD simulations;
};

struct FontFileInfo {
  FILETIME writeTime;
  LARGE_INTEGER size;
  WCHAR path[1];
};

using GetFontRealizationInfoFn = BOOL(WINAPI*)(HDC, FontRealizationInfo*);
using GetFontFileInfoFn = BOOL(WINAPI*)(DWORD, DWORD, FontFileInfo*, SIZE_T, SIZE_T*);

template <typename Fn>
Fn Gdi32(const char* name) {
  return reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), name)));
}

}  // namespace

std::wstring FontFileOf(HDC dc) {
  const auto realization = Gdi32<GetFontRealizationInfoFn>("GetFontRealizationInfo");
  const auto fileInfo = Gdi32<GetFontFileInfoFn>("GetFontFileInfo");
  if (!realization || !fileInfo) return L"";
  FontRealizationInfo info = {};
  info.size = sizeof(info);
  if (!realization(dc, &info)) return L"";
  std::vector<BYTE> buffer(sizeof(FontFileInfo) + MAX_PATH * sizeof(WCHAR));
  auto* file = reinterpret_cast<FontFileInfo*>(buffer.data());
  SIZE_T needed = 0;
  if (!fileInfo(info.instanceId, 0, file, buffer.size() - sizeof(WCHAR), &needed)) return L"";
  const std::wstring path(file->path);
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace driver
