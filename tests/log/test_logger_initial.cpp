// The logger before any Initialize: its own process, so no other test has
// touched the static state yet.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "log/Logger.h"

TEST(LoggerBeforeInitialize, WritesErrorsAndWarningsToStderr) {
    EXPECT_TRUE(Logger::log_initialized);
    EXPECT_EQ(Logger::config.type, Logger::Stdout);
    EXPECT_EQ(Logger::log_fp, stderr);
    EXPECT_EQ(Logger::log_lock, nullptr);
    EXPECT_EQ(Logger::log_size, nullptr);
    EXPECT_EQ(Logger::rotate_threshold_for_test, 5242881);
    EXPECT_TRUE(Logger::IsNeedToLog(Logger::Error, "any"));
    EXPECT_TRUE(Logger::IsNeedToLog(Logger::Warning, "service_debug"));
    EXPECT_FALSE(Logger::IsNeedToLog(Logger::Note, "service_debug"));

    testing::internal::CaptureStderr();
    Logger::LogMsg(Logger::Warning, "any", "early %d\n", 1);
    Logger::LogMsg(Logger::Info, "any", "dropped\n");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::regex_match(
        err, std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2} early 1\n")))
        << err;
}
