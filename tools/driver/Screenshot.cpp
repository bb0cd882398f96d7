#include "Screenshot.h"

#include <cstdio>
#include <vector>

#include "Gdi.h"

namespace driver {

namespace {

class File {
 public:
  explicit File(const std::wstring& path) : file_(_wfopen(path.c_str(), L"wb")) {}
  ~File() {
    if (file_) std::fclose(file_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  std::FILE* Get() const { return file_; }

 private:
  std::FILE* file_;
};

// The screen's pixels inside `rect`, bottom-up 24-bit rows; empty with `problem` set on failure.
std::vector<BYTE> CaptureScreen(const RECT& rect, BITMAPINFOHEADER& info, std::wstring& problem) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  ScreenDc screen;
  MemoryDc memory(screen.Get());
  Bitmap bitmap(screen.Get(), width, height);
  if (!screen.Get() || !memory.Get() || !bitmap.Get()) {
    problem = L"cannot make a bitmap";
    return {};
  }
  {
    Selection selected(memory.Get(), bitmap.Get());
    if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY)) {
      problem = L"BitBlt failed";
      return {};
    }
  }
  info = {};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as BMP files store rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  info.biSizeImage = stride * static_cast<DWORD>(height);
  std::vector<BYTE> pixels(info.biSizeImage);
  if (GetDIBits(screen.Get(), bitmap.Get(), 0, static_cast<UINT>(height), pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != height) {
    problem = L"GetDIBits failed";
    return {};
  }
  return pixels;
}

}  // namespace

std::wstring SaveScreenshot(HWND window, const std::wstring& path, bool paintFirst) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return L"no window";
  // A window found the moment it appears (a message box) may not have painted yet, and Wine
  // hands what a window painted to the X server a little later: have the window's thread paint
  // it, then copy the screen until two copies 100 ms apart agree (3 s at most). RedrawWindow
  // with RDW_UPDATENOW sends WM_PAINT to the window and waits for its thread to answer.
  if (paintFirst) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  BITMAPINFOHEADER info;
  std::wstring problem;
  std::vector<BYTE> pixels = CaptureScreen(rect, info, problem);
  for (int copies = 1; problem.empty() && copies < 30; ++copies) {
    Sleep(100);
    std::vector<BYTE> again = CaptureScreen(rect, info, problem);
    if (again == pixels) break;
    pixels.swap(again);
  }
  if (!problem.empty()) return problem;

  BITMAPFILEHEADER header = {};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof(header) + sizeof(info);
  header.bfSize = header.bfOffBits + info.biSizeImage;
  File file(path);
  if (!file.Get()) return L"cannot write the file";
  const bool written = std::fwrite(&header, sizeof(header), 1, file.Get()) == 1 &&
                       std::fwrite(&info, sizeof(info), 1, file.Get()) == 1 &&
                       std::fwrite(pixels.data(), pixels.size(), 1, file.Get()) == 1;
  return written ? std::wstring() : L"cannot write the file";
}

}  // namespace driver
