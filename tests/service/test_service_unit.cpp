// Conversions and plans of the upgrade service that need no files.

#include <gtest/gtest.h>

#include <climits>

#include "service/cloud-service.h"
#include "service/mac/launch-seam.h"
#include "service/mac/mac-service-detail.h"

using macservice_detail::BuildNumber;
using macservice_detail::PidNumber;
using macservice_detail::ProcStatStartTicks;

TEST(BackupNames, AttemptZeroHasNoDigitAndLaterOnesAllTheirDigits) {
    EXPECT_EQ(GetAppBackupDir("/h/.Korvane/Korvane.app", 0), "/h/.Korvane/Korvane.app_tmp");
    EXPECT_EQ(GetAppBackupDir("/h/.Korvane/Korvane.app", 1), "/h/.Korvane/Korvane.app_tmp1");
    EXPECT_EQ(GetAppBackupDir("/h/.Korvane/Korvane.app", 9), "/h/.Korvane/Korvane.app_tmp9");
    EXPECT_EQ(GetAppBackupDir("a", 10), "a_tmp10");
    EXPECT_EQ(GetAppBackupDir("a", 12345678), "a_tmp12345678");
    EXPECT_EQ(GetAppBackupDir("a", INT_MAX), "a_tmp2147483647");
    EXPECT_EQ(GetAppBackupDir("a", INT_MIN), "a_tmp-2147483648");
}

TEST(BuildNumbers, FollowAtoiLeadingRules) {
    EXPECT_EQ(BuildNumber(""), 0);
    EXPECT_EQ(BuildNumber("812"), 812);
    EXPECT_EQ(BuildNumber("  \t\n+42"), 42);
    EXPECT_EQ(BuildNumber("-7"), -7);
    EXPECT_EQ(BuildNumber("12a"), 12);
    EXPECT_EQ(BuildNumber("12.5"), 12);
    EXPECT_EQ(BuildNumber("a12"), 0);
    EXPECT_EQ(BuildNumber("- 3"), 0);
    EXPECT_EQ(BuildNumber("0x1f"), 0);
}

TEST(BuildNumbers, SaturateInsteadOfOverflowing) {
    EXPECT_EQ(BuildNumber("2147483647"), INT_MAX);
    EXPECT_EQ(BuildNumber("2147483648"), INT_MAX);
    EXPECT_EQ(BuildNumber("99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(BuildNumber("-2147483648"), INT_MIN);
    EXPECT_EQ(BuildNumber("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(BuildNumber("4294967297"), INT_MAX);  // would wrap to 1 in 32 bits
}

TEST(PidNumbers, LeadingDigitsCountAndOverflowIsRefused) {
    long long v = 0;
    ASSERT_TRUE(PidNumber("1234", v));
    EXPECT_EQ(v, 1234);
    ASSERT_TRUE(PidNumber(" 77x", v));
    EXPECT_EQ(v, 77);
    ASSERT_TRUE(PidNumber("4294967295", v));
    EXPECT_EQ(v, 4294967295LL);  // the range check refuses it, not a wrap to -1
    ASSERT_TRUE(PidNumber("-1", v));
    EXPECT_EQ(v, -1);
    EXPECT_FALSE(PidNumber("", v));
    EXPECT_FALSE(PidNumber("abc", v));
    EXPECT_FALSE(PidNumber("99999999999999999999", v));
}

TEST(ProcStat, StartTimeIsCountedFromTheLastParenthesis) {
    unsigned long long ticks = 0;
    std::string const tail = " S 1 1 1 0 -1 4194560 100 0 0 0 5 3 0 0 20 0 1 0 987654 12345 67";
    ASSERT_TRUE(ProcStatStartTicks("42 (korvane-ui)" + tail, ticks));
    EXPECT_EQ(ticks, 987654u);
    ASSERT_TRUE(ProcStatStartTicks("42 (a) b) 1 2 (x)" + tail, ticks));
    EXPECT_EQ(ticks, 987654u);
    EXPECT_FALSE(ProcStatStartTicks("42 (short) S 1 2 3", ticks));
    EXPECT_FALSE(ProcStatStartTicks("no parenthesis at all", ticks));
}

TEST(LaunchPlans, MacUnregistersThenOpensANewInstance) {
    LaunchPlan const plan = MacLaunchPlan("/h/.Korvane/Korvane.app");
    EXPECT_EQ(
        plan.unregister_program.toStdString(),
        "/System/Library/Frameworks/CoreServices.framework/Frameworks/LaunchServices.framework/Support/lsregister");
    EXPECT_EQ(plan.unregister_args, (QStringList{"-u", "/h/.Korvane/Korvane.app"}));
    EXPECT_EQ(plan.open_program.toStdString(), "/usr/bin/open");
    EXPECT_EQ(plan.open_args, (QStringList{"-n", "-a", "/h/.Korvane/Korvane.app"}));
}

TEST(LaunchPlans, LinuxHasNothingToUnregisterAndStartsTheBundlesClient) {
    LaunchPlan const plan = LinuxLaunchPlan("/h/.Korvane/Korvane.app");
    EXPECT_TRUE(plan.unregister_program.isEmpty());
    EXPECT_EQ(RunUnregister(plan), 0);
    EXPECT_EQ(plan.open_program.toStdString(), "/h/.Korvane/Korvane.app/Contents/MacOS/korvane-ui");
    EXPECT_TRUE(plan.open_args.isEmpty());
}
