#pragma once
// UTF-8/UTF-16 conversion and Unicode normalisation over ICU, plus small
// string helpers. Failures are reported on stderr and as -1 or "".

#include <string>
#include <vector>

namespace korvane {
namespace utils {

enum NormalizationForm { NFC = 0, NFD = 1 };

class StringHelper {
public:
    using u16string = std::u16string;

    static std::string Normalize(std::string const& s, NormalizationForm form);
    static int ConvertStringToWstring(std::string const& utf8, u16string& out);
    static int ConvertWstringToString(u16string const& utf16, std::string& out);
    static std::string ToPlatformDependString(std::string const& s);
    static std::string FromPlatformDependString(std::string const& s);
    static bool IsValid(std::string const& s);
    static void Rtrim(std::string& s, std::string const& chars);
    static void Split(std::vector<std::string>& out, std::string const& s, char sep);
    static std::string Join(std::vector<std::string> const& parts, char sep);
    static std::string GetFormatTime(char const* format);
};

}  // namespace utils
}  // namespace korvane
