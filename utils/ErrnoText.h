#pragma once
// errno as text from any thread. strerror may hand every thread the same
// buffer (macOS fills one static buffer on each call), and the worker and
// GUI threads both log failures; strerror_r writes into the caller's.

#include <cstring>
#include <string>

namespace korvane {
namespace utils {

namespace errno_text_detail {
// strerror_r comes in a GNU (char*) and an XSI (int) flavour.
[[maybe_unused]] inline char const* Result(char* r, char const*) { return r; }
[[maybe_unused]] inline char const* Result(int r, char const* buf) {
    return r == 0 ? buf : "Unknown error";
}
}  // namespace errno_text_detail

inline std::string ErrnoText(int err) {
    char buf[256];
    buf[0] = '\0';
    return errno_text_detail::Result(strerror_r(err, buf, sizeof buf), buf);
}

}  // namespace utils
}  // namespace korvane
