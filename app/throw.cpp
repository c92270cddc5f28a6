// The standard library reports misuse (a length past max_size, an empty
// std::function called) through these helpers, whose default versions pull
// in both of its string implementations and every exception class, about
// 60 KB. The program treats each as memory trouble: the callback that hit
// it catches the exception and the window goes on.
#include <new>

namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_alloc(); }
void __throw_bad_function_call() { throw std::bad_alloc(); }
void __throw_length_error(const char*) { throw std::bad_alloc(); }
void __throw_logic_error(const char*) { throw std::bad_alloc(); }
void __throw_out_of_range_fmt(const char*, ...) { throw std::bad_alloc(); }
}  // namespace std
