#include "utils/StringHelper.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utypes.h>

#include <cstdio>
#include <ctime>
#include <sstream>

namespace korvane {
namespace utils {

namespace {

void Warn(char const* what, UErrorCode code, int line) {
    fprintf(stderr, "Warning: %s: error code %d at line %d\n", what, static_cast<int>(code), line);
}

}  // namespace

int StringHelper::ConvertStringToWstring(std::string const& utf8, u16string& out) {
    UErrorCode err = U_ZERO_ERROR;
    int32_t len = 0;
    u_strFromUTF8(nullptr, 0, &len, utf8.c_str(), -1, &err);
    err = U_ZERO_ERROR;

    u16string buf(static_cast<size_t>(len) + 1, u'\0');
    u_strFromUTF8(reinterpret_cast<UChar*>(&buf[0]), len + 1, nullptr, utf8.c_str(), -1, &err);
    if (U_FAILURE(err)) {
        Warn("u_strFromUTF8", err, __LINE__);
        return -1;
    }
    buf[static_cast<size_t>(len)] = u'\0';
    out.assign(buf.c_str());
    return 0;
}

int StringHelper::ConvertWstringToString(u16string const& utf16, std::string& out) {
    UErrorCode err = U_ZERO_ERROR;
    int32_t len = 0;
    UChar const* src = reinterpret_cast<UChar const*>(utf16.c_str());
    u_strToUTF8(nullptr, 0, &len, src, -1, &err);
    err = U_ZERO_ERROR;

    std::string buf(static_cast<size_t>(len) + 1, '\0');
    u_strToUTF8(&buf[0], len + 1, nullptr, src, -1, &err);
    if (U_FAILURE(err)) {
        Warn("u_strToUTF8", err, __LINE__);
        return -1;
    }
    buf[static_cast<size_t>(len)] = '\0';
    out.assign(buf.c_str());
    return 0;
}

std::string StringHelper::Normalize(std::string const& s, NormalizationForm form) {
    if (s.empty()) return std::string();

    // On failure the UTF-16 text stays empty and so does the result.
    u16string wide;
    ConvertStringToWstring(s, wide);

    UErrorCode err = U_ZERO_ERROR;
    UNormalizer2 const* norm =
        unorm2_getInstance(nullptr, "nfc", form == NFD ? UNORM2_DECOMPOSE : UNORM2_COMPOSE, &err);
    if (norm == nullptr || U_FAILURE(err)) {
        Warn("unorm2_getInstance", err, __LINE__);
        return std::string();
    }

    UChar const* src = reinterpret_cast<UChar const*>(wide.c_str());
    int32_t len = unorm2_normalize(norm, src, -1, nullptr, 0, &err);
    err = U_ZERO_ERROR;
    u16string buf(static_cast<size_t>(len) + 1, u'\0');
    unorm2_normalize(norm, src, -1, reinterpret_cast<UChar*>(&buf[0]), len + 1, &err);
    if (U_FAILURE(err)) {
        Warn("unorm2_normalize", err, __LINE__);
        return std::string();
    }
    buf[static_cast<size_t>(len)] = u'\0';

    std::string result;
    ConvertWstringToString(buf, result);
    return result;
}

std::string StringHelper::ToPlatformDependString(std::string const& s) { return s; }

std::string StringHelper::FromPlatformDependString(std::string const& s) { return s; }

bool StringHelper::IsValid(std::string const& s) {
    if (s.empty()) return true;
    UErrorCode err = U_ZERO_ERROR;
    int32_t len = 0;
    u_strFromUTF8(nullptr, 0, &len, s.c_str(), -1, &err);
    return err != U_INVALID_CHAR_FOUND;
}

void StringHelper::Rtrim(std::string& s, std::string const& chars) {
    size_t last = s.find_last_not_of(chars);
    // Only trim characters: nothing left to keep means nothing is changed.
    if (last != std::string::npos) s.erase(last + 1);
}

void StringHelper::Split(std::vector<std::string>& out, std::string const& s, char sep) {
    std::istringstream in(s);
    std::string piece;
    while (std::getline(in, piece, sep)) out.push_back(piece);
}

std::string StringHelper::Join(std::vector<std::string> const& parts, char sep) {
    std::string result;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) result += sep;
        result += parts[i];
    }
    return result;
}

std::string StringHelper::GetFormatTime(char const* format) {
    if (format == nullptr) return std::string();
    time_t now = time(nullptr);
    struct tm local;
    // localtime_r: both threads format times, and localtime shares one buffer.
    if (localtime_r(&now, &local) == nullptr) return std::string();
    char buf[64];
    size_t n = strftime(buf, sizeof buf, format, &local);
    // 0 also means "did not fit"; the buffer is then unspecified.
    if (n == 0) return std::string();
    return std::string(buf, n);
}

}  // namespace utils
}  // namespace korvane
