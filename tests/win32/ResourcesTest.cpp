// The built executable's version block and icon, and the icon file it is built from.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "res/resource.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr size_t kIcoSize = 766;
constexpr size_t kDirectorySize = 22;
constexpr DWORD kImageSize = 744;

// ctest passes Unix paths; Wine maps the Unix root to drive Z:.
std::wstring WinePath(const std::string& unixPath) {
  int length = MultiByteToWideChar(CP_UTF8, 0, unixPath.c_str(), -1, nullptr, 0);
  std::wstring path(length > 0 ? length - 1 : 0, L'\0');
  if (length > 1) MultiByteToWideChar(CP_UTF8, 0, unixPath.c_str(), -1, &path[0], length);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return L"Z:" + path;
}

std::wstring ExePath() {
  const char* exe = std::getenv("FERRULE_EXE");
  return exe ? WinePath(exe) : std::wstring();
}

std::wstring IcoPath() { return WinePath(FERRULE_SOURCE_DIR "/res/Ferrule.ico"); }

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

Bytes ReadFileBytes(const std::wstring& path) {
  std::unique_ptr<FILE, FileCloser> file(_wfopen(path.c_str(), L"rb"));
  Bytes bytes;
  if (!file) return bytes;
  unsigned char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

unsigned U16(const Bytes& b, size_t at) { return b[at] | b[at + 1] << 8; }

DWORD U32(const Bytes& b, size_t at) {
  DWORD value;
  std::memcpy(&value, &b[at], sizeof value);
  return value;
}

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(value));
  return text;
}

// Empty when equal, else where the first difference is.
std::string Difference(const Bytes& expected, const Bytes& actual) {
  if (expected.size() != actual.size()) {
    return "sizes " + std::to_string(expected.size()) + " vs " + std::to_string(actual.size());
  }
  for (size_t i = 0; i < expected.size(); ++i) {
    if (expected[i] != actual[i]) {
      return "byte " + std::to_string(i) + ": expected " + std::to_string(expected[i]) + ", got " +
             std::to_string(actual[i]);
    }
  }
  return "";
}

// The one image format the icon uses, as it sits after the icon directory and in RT_ICON.
// The header and single entry an icon group and an .ico file share: one 32x32 image of 16
// colours, 1 plane, 4 bits a pixel, kImageSize bytes. Only what follows the entry differs.
void ExpectOneSixteenColourEntry(const Bytes& b) {
  EXPECT_EQ(0u, U16(b, 0));
  EXPECT_EQ(1u, U16(b, 2));  // icon, not cursor
  EXPECT_EQ(1u, U16(b, 4));
  EXPECT_EQ(32, b[6]);
  EXPECT_EQ(32, b[7]);
  EXPECT_EQ(16, b[8]);
  EXPECT_EQ(0, b[9]);
  EXPECT_EQ(1u, U16(b, 10));
  EXPECT_EQ(4u, U16(b, 12));
  EXPECT_EQ(kImageSize, U32(b, 14));
}

void ExpectSixteenColourImageHeader(const Bytes& image) {
  ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER header;
  std::memcpy(&header, image.data(), sizeof header);
  EXPECT_EQ(40u, header.biSize);
  EXPECT_EQ(32, header.biWidth);
  EXPECT_EQ(64, header.biHeight);  // colour and mask halves
  EXPECT_EQ(1, header.biPlanes);
  EXPECT_EQ(4, header.biBitCount);
  EXPECT_EQ(static_cast<DWORD>(BI_RGB), header.biCompression);
  EXPECT_EQ(640u, header.biSizeImage);
  EXPECT_EQ(0, header.biXPelsPerMeter);
  EXPECT_EQ(0, header.biYPelsPerMeter);
  EXPECT_EQ(0u, header.biClrUsed);
  EXPECT_EQ(0u, header.biClrImportant);
}

struct Expected {
  const wchar_t* key;
  const wchar_t* value;  // nullptr: our own text, only required to be present
};

const Expected kStrings[] = {
    {L"Comments", nullptr},
    {L"CompanyName", nullptr},
    {L"FileDescription",
     L"Utility for single click creation of a Windows XP System Restore Point."},
    {L"LegalCopyright", nullptr},
    {L"ProductName", L"Ferrule.exe"},
    {L"FileVersion", L"1.01"},
    {L"ProductVersion", L"1.01"},
    {L"InternalName", L"Ferrule"},
    {L"OriginalFilename", L"Ferrule.exe"},
};

class VersionInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    std::wstring exe = ExePath();
    ASSERT_FALSE(exe.empty()) << "FERRULE_EXE is not set; run through ctest";
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_NE(0u, size) << "GetLastError " << GetLastError();
    data_.assign(size, 0xCC);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data_.data()))
        << "GetLastError " << GetLastError();
  }

  // The value at 'path' and its length as VerQueryValueW reports it.
  bool Query(const std::wstring& path, void** value, UINT* length) {
    return VerQueryValueW(data_.data(), path.c_str(), value, length);
  }

  Bytes data_;
};

TEST_F(VersionInfo, FixedPartIsVersion1_1_0_0Application) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(Query(L"\\", &value, &length));
  ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
  const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(0xFEEF04BDu, fixed.dwSignature);
  // 1.1.0.0, not 1.0.1.0: the text "1.01" reads as major 1, minor 1.
  EXPECT_EQ(0x00010001u, fixed.dwFileVersionMS);
  EXPECT_EQ(0u, fixed.dwFileVersionLS);
  EXPECT_EQ(0x00010001u, fixed.dwProductVersionMS);
  EXPECT_EQ(0u, fixed.dwProductVersionLS);
  EXPECT_EQ(0u, fixed.dwFileFlags);
  EXPECT_EQ(static_cast<DWORD>(VOS__WINDOWS32), fixed.dwFileOS);
  EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed.dwFileType);
}

TEST_F(VersionInfo, StringsHoldTheProductTexts) {
  for (const Expected& expected : kStrings) {
    SCOPED_TRACE(testing::Message() << "key " << std::wstring(expected.key));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(
        Query(std::wstring(L"\\StringFileInfo\\040904B0\\") + expected.key, &value, &length));
    std::wstring text(static_cast<const wchar_t*>(value));
    if (expected.value) {
      EXPECT_EQ(std::wstring(expected.value), text);
    } else {
      EXPECT_FALSE(text.empty());
    }
    // Characters including one terminating NUL.
    EXPECT_EQ(text.size() + 1, length);
  }
}

TEST_F(VersionInfo, TranslationIsUsEnglishUnicode) {
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(Query(L"\\VarFileInfo\\Translation", &value, &length));
  ASSERT_EQ(4u, length);
  const WORD* pair = static_cast<const WORD*>(value);
  EXPECT_EQ(0x0409, pair[0]);
  EXPECT_EQ(1200, pair[1]);
}

// One node of the raw VS_VERSIONINFO tree.
struct Block {
  std::wstring key;
  unsigned type = 0;
  unsigned valueLength = 0;  // characters when type is 1 (text), bytes otherwise
  Bytes value;
  std::vector<Block> children;
};

size_t Align4(size_t n) { return (n + 3) & ~size_t{3}; }

// Empty when the block at 'at' and its children fit within 'end', else what is wrong.
std::string ReadBlock(const Bytes& raw, size_t at, size_t end, Block& block) {
  const std::string where = "block at " + std::to_string(at);
  if (at + 6 > end) return where + ": header overruns its parent";
  size_t blockEnd = at + U16(raw, at);
  if (blockEnd > end || blockEnd < at + 6) return where + ": length overruns its parent";
  block.valueLength = U16(raw, at + 2);
  block.type = U16(raw, at + 4);
  size_t p = at + 6;
  for (;;) {
    if (p + 2 > blockEnd) return where + ": key overruns the block";
    wchar_t c = static_cast<wchar_t>(U16(raw, p));
    p += 2;
    if (c == L'\0') break;
    block.key += c;
  }
  p = Align4(p);
  size_t valueBytes = block.type == 1 ? block.valueLength * 2 : block.valueLength;
  if (p + valueBytes > blockEnd) return where + ": value overruns the block";
  block.value.assign(raw.begin() + p, raw.begin() + p + valueBytes);
  for (p = Align4(p + valueBytes); p < blockEnd; p = Align4(p + U16(raw, p))) {
    block.children.emplace_back();
    std::string error = ReadBlock(raw, p, blockEnd, block.children.back());
    if (!error.empty()) return error;
  }
  return "";
}

struct ModuleFree {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ScopedModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

struct IconDestroy {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
using ScopedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroy>;

struct ObjectDelete {
  void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using ScopedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDelete>;

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
  auto& list = *reinterpret_cast<std::vector<std::wstring>*>(names);
  list.push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                      : std::wstring(name));
  return TRUE;
}

// The executable's resources, read as data rather than run.
class ExeResources : public ::testing::Test {
 protected:
  void SetUp() override {
    std::wstring exe = ExePath();
    ASSERT_FALSE(exe.empty()) << "FERRULE_EXE is not set; run through ctest";
    module_.reset(LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_NE(nullptr, module_.get()) << "GetLastError " << GetLastError();
  }

  std::vector<std::wstring> Names(LPCWSTR type) {
    std::vector<std::wstring> names;
    EnumResourceNamesW(module_.get(), type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
  }

  Bytes Resource(LPCWSTR name, LPCWSTR type) {
    HRSRC found = FindResourceW(module_.get(), name, type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module_.get(), found);
    const auto* bytes = static_cast<const unsigned char*>(LockResource(loaded));
    return bytes ? Bytes(bytes, bytes + SizeofResource(module_.get(), found)) : Bytes();
  }

  ScopedModule module_;
};

TEST_F(ExeResources, VersionStringsAreStoredInOrderWithOneTerminatingNul) {
  Bytes raw = Resource(MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  ASSERT_FALSE(raw.empty());
  Block root;
  ASSERT_EQ("", ReadBlock(raw, 0, raw.size(), root));
  EXPECT_EQ(L"VS_VERSION_INFO", root.key);
  const Block* table = nullptr;
  for (const Block& child : root.children) {
    if (child.key == L"StringFileInfo" && child.children.size() == 1) table = &child.children[0];
  }
  ASSERT_NE(nullptr, table) << "no StringFileInfo with exactly one table";
  EXPECT_EQ(L"040904B0", table->key);

  std::vector<std::wstring> keys, expectedKeys;
  for (const Expected& expected : kStrings) expectedKeys.push_back(expected.key);
  for (const Block& entry : table->children) keys.push_back(entry.key);
  EXPECT_EQ(expectedKeys, keys);

  for (const Block& entry : table->children) {
    SCOPED_TRACE(testing::Message() << "key " << entry.key);
    EXPECT_EQ(1u, entry.type);
    ASSERT_GE(entry.valueLength, 2u) << "empty value";
    std::wstring stored(entry.valueLength, L'\0');
    std::memcpy(&stored[0], entry.value.data(), entry.value.size());
    // A doubled NUL shows up as a NUL before the last character.
    EXPECT_EQ(entry.valueLength - 1, stored.find(L'\0'));
  }
}

TEST_F(ExeResources, OneIconGroupWithOneSixteenColourEntry) {
  std::vector<std::wstring> groups = Names(RT_GROUP_ICON);
  ASSERT_EQ(std::vector<std::wstring>{L"#" + std::to_wstring(IDI_FERRULE)}, groups);
  Bytes group = Resource(MAKEINTRESOURCEW(IDI_FERRULE), RT_GROUP_ICON);
  ASSERT_EQ(20u, group.size());  // 6-byte header, one 14-byte entry
  ExpectOneSixteenColourEntry(group);

  std::vector<std::wstring> images = Names(RT_ICON);
  EXPECT_EQ(std::vector<std::wstring>{L"#" + std::to_wstring(U16(group, 18))}, images);
}

TEST_F(ExeResources, IconImageIsTheIcoFileImage) {
  Bytes group = Resource(MAKEINTRESOURCEW(IDI_FERRULE), RT_GROUP_ICON);
  ASSERT_EQ(20u, group.size());
  Bytes image = Resource(MAKEINTRESOURCEW(U16(group, 18)), RT_ICON);
  ASSERT_EQ(kImageSize, image.size());
  ExpectSixteenColourImageHeader(image);

  Bytes ico = ReadFileBytes(IcoPath());
  ASSERT_EQ(kIcoSize, ico.size());
  EXPECT_EQ("", Difference(Bytes(ico.begin() + kDirectorySize, ico.end()), image));
}

TEST_F(ExeResources, User32MakesA32x32IconOfThem) {
  Bytes group = Resource(MAKEINTRESOURCEW(IDI_FERRULE), RT_GROUP_ICON);
  ASSERT_FALSE(group.empty());
  int id = LookupIconIdFromDirectoryEx(group.data(), TRUE, 32, 32, LR_DEFAULTCOLOR);
  ASSERT_NE(0, id);
  Bytes image = Resource(MAKEINTRESOURCEW(id), RT_ICON);
  ASSERT_FALSE(image.empty());
  ScopedIcon icon(CreateIconFromResourceEx(image.data(), image.size(), TRUE, 0x00030000, 32, 32,
                                           LR_DEFAULTCOLOR));
  ASSERT_NE(nullptr, icon.get()) << "GetLastError " << GetLastError();

  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(icon.get(), &info));
  ScopedBitmap colour(info.hbmColor), mask(info.hbmMask);
  EXPECT_TRUE(info.fIcon);
  ASSERT_NE(nullptr, colour.get());
  BITMAP bitmap = {};
  ASSERT_NE(0, GetObjectW(colour.get(), sizeof bitmap, &bitmap));
  EXPECT_EQ(32, bitmap.bmWidth);
  EXPECT_EQ(32, bitmap.bmHeight);
}

// The window class asks for the icon at the large and the small size; the small
// one is scaled from the single 32x32 image.
TEST_F(ExeResources, IconLoadsAtTheWindowClassSizes) {
  const int sizes[] = {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CXSMICON)};
  for (int size : sizes) {
    SCOPED_TRACE(testing::Message() << "size " << size);
    ScopedIcon icon(static_cast<HICON>(
        LoadImageW(module_.get(), MAKEINTRESOURCEW(IDI_FERRULE), IMAGE_ICON, size, size, 0)));
    ASSERT_NE(nullptr, icon.get()) << "GetLastError " << GetLastError();
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    ScopedBitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap = {};
    ASSERT_NE(0, GetObjectW(mask.get(), sizeof bitmap, &bitmap));
    EXPECT_EQ(size, bitmap.bmWidth);
  }
}

class IcoFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ico_ = ReadFileBytes(IcoPath());
    ASSERT_EQ(kIcoSize, ico_.size());
  }

  Bytes Image() const { return Bytes(ico_.begin() + kDirectorySize, ico_.end()); }

  Bytes ico_;
};

TEST_F(IcoFile, DirectoryHasOne32x32SixteenColourEntry) {
  ExpectOneSixteenColourEntry(ico_);
  EXPECT_EQ(static_cast<DWORD>(kDirectorySize), U32(ico_, 18));
}

TEST_F(IcoFile, ImageHeaderDescribesColourAndMaskHalves) {
  ExpectSixteenColourImageHeader(Image());
}

TEST_F(IcoFile, PaletteIsTheStandardSixteenColoursInOrder) {
  const DWORD kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                              0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                              0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  Bytes image = Image();
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(testing::Message() << "palette entry " << i);
    RGBQUAD quad;
    std::memcpy(&quad, &image[sizeof(BITMAPINFOHEADER) + i * sizeof quad], sizeof quad);
    EXPECT_EQ(Hex(kPalette[i]), Hex(quad.rgbRed << 16 | quad.rgbGreen << 8 | quad.rgbBlue));
    EXPECT_EQ(0, quad.rgbReserved);
  }
}

// The screen is ANDed with the mask, then XORed with the colour: a masked pixel
// that is not black would show as a tinted hole instead of the background.
TEST_F(IcoFile, TransparentPixelsAreBlackAndSomePixelsAreOpaque) {
  Bytes image = Image();
  const size_t colour = sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD);
  const size_t mask = colour + 32 * 32 / 2;
  ASSERT_EQ(image.size(), mask + 32 * 32 / 8);
  int opaque = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      bool transparent = image[mask + y * 4 + x / 8] & (0x80 >> x % 8);
      int index = image[colour + y * 16 + x / 2] >> (x % 2 ? 0 : 4) & 0xF;
      if (transparent) {
        EXPECT_EQ(0, index) << "pixel " << x << "," << 31 - y << " from the top";
      } else {
        ++opaque;
      }
    }
  }
  EXPECT_GT(opaque, 0);
}

}  // namespace
