// Trims what the toolchain links. The library's verbose terminate handler
// brings in a demangler, and its throw helpers bring in the exception classes
// with their own string type. In this program the conditions they report
// (running out of memory, a text beyond max_size, an index out of range)
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
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
}  // namespace std
