// A GUI program linked like Ferrule, crash exit included, that breaks down as its argument says.
#include <assert.h>

#include <cstdlib>
#include <cwchar>
#include <exception>

int wmain(int argc, wchar_t** argv) {
  const wchar_t* how = argc > 1 ? argv[1] : L"";
  if (std::wcscmp(how, L"abort") == 0) std::abort();
  if (std::wcscmp(how, L"terminate") == 0) std::terminate();
  // msvcrt's own failed-assertion path: it picks a box or stderr as abort's message does.
  if (std::wcscmp(how, L"assert") == 0) _assert("probe", __FILE__, __LINE__);
  return 1;
}
