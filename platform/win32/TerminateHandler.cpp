#include <cstdlib>

// libstdc++'s default handler demangles the exception's type name for stderr, which a GUI
// program has not got; replacing it keeps the demangler (about 60 KB) out of the executable.
// The runtime catches every exception itself, so this only runs on a broken invariant.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
