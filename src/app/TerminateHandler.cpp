// What an exception that escapes everything does: the process ends at once.
// The toolchain's own handler would print the exception's type to a console
// this GUI program does not have, and brings a C++ name demangler (some 36 KB)
// into the program only for that; defining the handler here keeps it out.
#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
