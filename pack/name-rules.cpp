#include "pack/name-rules.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <vector>

#include "utils/StringHelper.h"

using korvane::utils::StringHelper;

namespace pack {

std::string NameProblem(std::string const& name) {
    // readdir never gives these, but the extractor would refuse them.
    if (name == "." || name == "..") return "a '..' or '.' name";
    if (!StringHelper::IsValid(name)) return "the name is not valid UTF-8";
    return "";
}

std::string FoldedName(std::string const& name) {
    std::u16string wide;
    if (StringHelper::ConvertStringToWstring(StringHelper::Normalize(name, korvane::utils::NFC),
                                             wide) != 0)
        return name;
    // Folding never grows a string more than threefold.
    std::u16string folded(wide.size() * 3 + 1, u'\0');
    UErrorCode err = U_ZERO_ERROR;
    int32_t const n =
        u_strFoldCase(reinterpret_cast<UChar*>(&folded[0]), static_cast<int32_t>(folded.size()),
                      reinterpret_cast<UChar const*>(wide.data()),
                      static_cast<int32_t>(wide.size()), U_FOLD_CASE_DEFAULT, &err);
    if (U_FAILURE(err)) return name;
    folded.resize(static_cast<size_t>(n));
    std::string out;
    StringHelper::ConvertWstringToString(folded, out);
    // Folding may leave a decomposed form behind ("ǰ" folds to j + caron).
    return StringHelper::Normalize(out, korvane::utils::NFC);
}

bool TargetStaysInside(std::string const& dir, std::string const& target) {
    if (target.empty() || target[0] == '/') return false;
    std::vector<std::string> at;
    auto const walk = [&at](std::string const& path) {
        size_t start = 0;
        while (start <= path.size()) {
            size_t end = path.find('/', start);
            if (end == std::string::npos) end = path.size();
            std::string const part = path.substr(start, end - start);
            if (part == "..") {
                if (at.empty()) return false;
                at.pop_back();
            } else if (!part.empty() && part != ".") {
                at.push_back(part);
            }
            start = end + 1;
        }
        return true;
    };
    // Within the package means below its one top folder, Contents.
    return walk(dir) && walk(target) && !at.empty() && at.front() == "Contents";
}

}  // namespace pack
