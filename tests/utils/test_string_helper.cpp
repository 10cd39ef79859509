#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "utils/StringHelper.h"

using korvane::utils::NFC;
using korvane::utils::NFD;
using korvane::utils::StringHelper;

namespace {

std::string const kComposed = "\xc3\xa9";     // U+00E9
std::string const kDecomposed = "e\xcc\x81";  // e + U+0301

// Runs fn with stderr captured and returns what it wrote there.
template <typename Fn>
std::string StderrOf(Fn fn) {
    testing::internal::CaptureStderr();
    fn();
    return testing::internal::GetCapturedStderr();
}

}  // namespace

TEST(StringHelperNormalize, ComposesAndDecomposes) {
    EXPECT_EQ(StringHelper::Normalize(kDecomposed, NFC), kComposed);
    EXPECT_EQ(StringHelper::Normalize(kComposed, NFD), kDecomposed);
    EXPECT_EQ(StringHelper::Normalize("caf" + kDecomposed + "/x", NFC), "caf" + kComposed + "/x");
    EXPECT_EQ(StringHelper::Normalize("plain ascii", NFD), "plain ascii");
    // Hangul and a character outside the BMP survive the round trip.
    std::string hangul = "\xea\xb0\x80";     // U+AC00
    std::string emoji = "\xf0\x9f\x98\x80";  // U+1F600
    EXPECT_EQ(StringHelper::Normalize(StringHelper::Normalize(hangul, NFD), NFC), hangul);
    EXPECT_EQ(StringHelper::Normalize(emoji, NFD), emoji);
}

TEST(StringHelperNormalize, EmptyInputGivesEmptyWithoutWarning) {
    std::string err = StderrOf([] { EXPECT_EQ(StringHelper::Normalize("", NFC), ""); });
    EXPECT_EQ(err, "");
}

TEST(StringHelperNormalize, MalformedUtf8GivesEmptyAndOneWarning) {
    std::string err = StderrOf([] { EXPECT_EQ(StringHelper::Normalize("ab\xff", NFC), ""); });
    EXPECT_TRUE(
        std::regex_match(err, std::regex("Warning: u_strFromUTF8: error code 10 at line [0-9]+\n")))
        << err;
}

TEST(StringHelperConvert, RoundTripsAndStopsAtNul) {
    StringHelper::u16string wide;
    ASSERT_EQ(StringHelper::ConvertStringToWstring("a" + kComposed + "\xf0\x9f\x98\x80", wide), 0);
    EXPECT_EQ(wide, (StringHelper::u16string{u'a', 0x00e9, 0xd83d, 0xde00}));
    std::string back;
    ASSERT_EQ(StringHelper::ConvertWstringToString(wide, back), 0);
    EXPECT_EQ(back, "a" + kComposed + "\xf0\x9f\x98\x80");

    ASSERT_EQ(StringHelper::ConvertStringToWstring(std::string("ab\0cd", 5), wide), 0);
    EXPECT_EQ(wide, u"ab");
    ASSERT_EQ(StringHelper::ConvertWstringToString(StringHelper::u16string(u"xy\0z", 4), back), 0);
    EXPECT_EQ(back, "xy");
}

TEST(StringHelperConvert, FailuresWarnAndLeaveOutputUntouched) {
    StringHelper::u16string wide = u"keep";
    std::string err =
        StderrOf([&] { EXPECT_EQ(StringHelper::ConvertStringToWstring("\x80", wide), -1); });
    EXPECT_EQ(wide, u"keep");
    EXPECT_TRUE(
        std::regex_match(err, std::regex("Warning: u_strFromUTF8: error code 10 at line [0-9]+\n")))
        << err;

    std::string narrow = "keep";
    StringHelper::u16string lone{u'a', 0xd800, u'b'};  // unpaired surrogate
    err = StderrOf([&] { EXPECT_EQ(StringHelper::ConvertWstringToString(lone, narrow), -1); });
    EXPECT_EQ(narrow, "keep");
    EXPECT_TRUE(
        std::regex_match(err, std::regex("Warning: u_strToUTF8: error code 10 at line [0-9]+\n")))
        << err;
}

TEST(StringHelperIsValid, AcceptsUtf8RejectsMalformed) {
    EXPECT_TRUE(StringHelper::IsValid(""));
    EXPECT_TRUE(StringHelper::IsValid("ascii"));
    EXPECT_TRUE(StringHelper::IsValid(kComposed + kDecomposed));
    EXPECT_FALSE(StringHelper::IsValid("\x80"));          // lone continuation byte
    EXPECT_FALSE(StringHelper::IsValid("a\xc3"));         // truncated sequence
    EXPECT_FALSE(StringHelper::IsValid("\xc0\xaf"));      // overlong '/'
    EXPECT_FALSE(StringHelper::IsValid("\xed\xa0\x80"));  // encoded surrogate
    // Only the text before the first NUL is examined.
    EXPECT_TRUE(StringHelper::IsValid(std::string("ok\0\xff", 4)));
}

TEST(StringHelperRtrim, TrimsOnlyWhenSomethingRemains) {
    struct Case {
        char const* in;
        char const* chars;
        char const* out;
    };
    Case const cases[] = {
        {"name  \t", " \t", "name"}, {"   ", " ", "   "},  // nothing would remain: unchanged
        {"abc ", "", "abc "},        {"", " ", ""},       {"a/b//", "/", "a/b"},
    };
    for (Case const& c : cases) {
        std::string s = c.in;
        StringHelper::Rtrim(s, c.chars);
        EXPECT_EQ(s, c.out) << "input '" << c.in << "'";
    }
}

TEST(StringHelperSplitJoin, PiecesLikeReadingLines) {
    using V = std::vector<std::string>;
    auto split = [](std::string const& s) {
        V out{"pre"};  // appended to, never cleared
        StringHelper::Split(out, s, ',');
        return out;
    };
    EXPECT_EQ(split(""), (V{"pre"}));
    EXPECT_EQ(split("a,b,"), (V{"pre", "a", "b"}));
    EXPECT_EQ(split(",a"), (V{"pre", "", "a"}));
    EXPECT_EQ(split("a,,b"), (V{"pre", "a", "", "b"}));
    EXPECT_EQ(split("abc"), (V{"pre", "abc"}));
    EXPECT_EQ(split(","), (V{"pre", ""}));

    EXPECT_EQ(StringHelper::Join({}, '/'), "");
    EXPECT_EQ(StringHelper::Join({"only"}, '/'), "only");
    EXPECT_EQ(StringHelper::Join({"a", "", "b"}, '/'), "a//b");
    EXPECT_EQ(StringHelper::Join({"", ""}, '/'), "/");
}

TEST(StringHelperMisc, FormatTimeAndPlatformStrings) {
    EXPECT_TRUE(
        std::regex_match(StringHelper::GetFormatTime("%Y-%m-%dT%H:%M:%S"),
                         std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}")));
    // Text that does not fit in the buffer gives "", never garbage.
    EXPECT_EQ(StringHelper::GetFormatTime(std::string(100, 'x').c_str()), "");
    EXPECT_EQ(StringHelper::GetFormatTime(std::string(63, 'x').c_str()), std::string(63, 'x'));
    EXPECT_EQ(StringHelper::GetFormatTime(nullptr), "");

    std::string odd("a\xff\0b", 4);
    EXPECT_EQ(StringHelper::ToPlatformDependString(odd), odd);
    EXPECT_EQ(StringHelper::FromPlatformDependString(odd), odd);
}
