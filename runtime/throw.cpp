// The standard library reports misuse (an index out of range, a length
// past max_size, an empty std::function called) through these helpers,
// whose default versions pull in both of its string implementations and
// every exception class, about 60 KB. Here misuse throws the program's own
// small error type, which keeps the library's text for the message the
// user sees and for a debugger; only memory trouble is std::bad_alloc.
#include <exception>
#include <new>

namespace qm {
class ProgramError final : public std::exception {
public:
    explicit ProgramError(const char* what) noexcept : what_(what) {}
    const char* what() const noexcept override { return what_; }

private:
    const char* what_;
};
}  // namespace qm

namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_alloc(); }
void __throw_bad_function_call() { throw qm::ProgramError("an empty function was called"); }
void __throw_length_error(const char* what) { throw qm::ProgramError(what); }
void __throw_logic_error(const char* what) { throw qm::ProgramError(what); }
// The text is the library's format, its numbers left out.
void __throw_out_of_range_fmt(const char* what, ...) { throw qm::ProgramError(what); }
}  // namespace std

// libstdc++ keeps bad_weak_ptr (thrown by shared_from_this()) and the tag
// test of make_shared's deleter lookup in one object with the locks of
// atomic shared_ptr access, which bring guarded statics and thread support
// along: about 3.5 KB the program never runs. With these three members here
// that object stays out of the link; should a newer library need it again,
// the link fails on the duplicates instead of going on quietly.
#include <memory>

namespace std {
const char* bad_weak_ptr::what() const noexcept { return "bad_weak_ptr"; }
bad_weak_ptr::~bad_weak_ptr() noexcept = default;
// Without RTTI anywhere in the program, the tag's stand-in is the only
// type_info make_shared's control block is ever asked about.
bool _Sp_make_shared_tag::_S_eq(const type_info& ti) noexcept { return &ti == &_S_ti(); }
}  // namespace std
