// Trims what the toolchain links. The library's verbose terminate handler
// brings in a demangler, and its throw helpers for length and allocation
// errors bring in the exception classes with their own string type. In this
// program those conditions (running out of memory, a text beyond max_size)
// cannot be met with any sensible recovery, so each ends the process at once.
// The program's own failures are unaffected: Form_Load catches them all.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std
