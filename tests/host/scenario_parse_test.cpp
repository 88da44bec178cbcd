// Splitting scenario lines into words.
#include <gtest/gtest.h>

#include "host/script/core/scenario_parse.h"

namespace {

std::vector<std::string> split(const std::string& line)
{
    std::vector<std::string> words;
    std::string error;
    EXPECT_TRUE(host::split_scenario_line(line, words, error)) << error;
    return words;
}

TEST(ScenarioParse, WordsQuotesCommentsAndEscapes)
{
    EXPECT_EQ(split("slider \"EMS/Volts:\" 2000"), (std::vector<std::string>{"slider", "EMS/Volts:", "2000"}));
    EXPECT_EQ(split("check \"EMS/SD Card Mounted\" off  # card out"),
              (std::vector<std::string>{"check", "EMS/SD Card Mounted", "off"}));
    EXPECT_EQ(split("nmea \"$GPGGA,1*5A\\r\\n\""), (std::vector<std::string>{"nmea", "$GPGGA,1*5A\r\n"}));
    EXPECT_EQ(split("button \"#1 \\\"x\\\"\""), (std::vector<std::string>{"button", "#1 \"x\""}));
    EXPECT_TRUE(split("   # only a comment").empty());
    EXPECT_TRUE(split("").empty());
    EXPECT_EQ(split("key\t3\r"), (std::vector<std::string>{"key", "3"}));
}

TEST(ScenarioParse, BadLinesAreRefused)
{
    std::vector<std::string> words;
    std::string error;
    EXPECT_FALSE(host::split_scenario_line("slider \"EMS/Volts: 2000", words, error));
    EXPECT_EQ(error, "unterminated quote");
    EXPECT_FALSE(host::split_scenario_line("nmea abc\\q", words, error));
    EXPECT_FALSE(host::split_scenario_line("nmea abc\\", words, error));
}

TEST(ScenarioParse, Numbers)
{
    long long v = 0;
    EXPECT_TRUE(host::parse_count("2500", v, 10000));
    EXPECT_EQ(v, 2500);
    EXPECT_FALSE(host::parse_count("-1", v, 10));
    EXPECT_FALSE(host::parse_count("11", v, 10));
    EXPECT_FALSE(host::parse_count("1x", v, 10));
    EXPECT_FALSE(host::parse_count("", v, 10));
    EXPECT_TRUE(host::parse_integer("-150", v));
    EXPECT_EQ(v, -150);
    EXPECT_FALSE(host::parse_integer("-", v));
    EXPECT_FALSE(host::parse_integer("12.5", v));
}

} // namespace
