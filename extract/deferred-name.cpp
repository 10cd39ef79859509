#include "extract/deferred-name.h"

#include <errno.h>

#include <cstdio>
#include <random>

#include "utils/ErrnoText.h"

namespace {

// "./a//b/" and "/a/b" name the same entry as "a/b".
std::string Normalised(std::string const& name) {
    std::string out;
    size_t at = 0;
    while (at <= name.size()) {
        size_t end = name.find('/', at);
        if (end == std::string::npos) end = name.size();
        std::string const part = name.substr(at, end - at);
        if (!part.empty() && part != ".") out += (out.empty() ? "" : "/") + part;
        at = end + 1;
    }
    return out;
}

std::string RandomSuffix() {
    static char const kAlphabet[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device device;
    std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
    std::string s;
    for (int i = 0; i < 12; ++i) s += kAlphabet[pick(device)];
    return s;
}

}  // namespace

DeferredName::DeferredName(std::string root, std::string const& relative)
    : root_(std::move(root)), relative_(Normalised(relative)) {
    if (relative_.empty()) return;
    final_ = root_ + "/" + relative_;
    size_t const slash = final_.rfind('/');
    temp_ = final_.substr(0, slash + 1) + "." + final_.substr(slash + 1) + "." + RandomSuffix() +
            ".partial";
}

bool DeferredName::Matches(std::string const& name) const {
    return !relative_.empty() && Normalised(name) == relative_;
}

std::string DeferredName::PathFor(std::string const& name, bool is_dir) {
    if (is_dir || !Matches(name)) return root_ + "/" + name;
    written_ = true;
    return temp_;
}

std::string DeferredName::LinkTargetFor(std::string const& name) const {
    return written_ && Matches(name) ? temp_ : root_ + "/" + name;
}

bool DeferredName::Finish(std::string* why) {
    if (!written_) return true;
    if (std::rename(temp_.c_str(), final_.c_str()) == 0) {
        written_ = false;
        return true;
    }
    *why = korvane::utils::ErrnoText(errno);
    return false;
}
