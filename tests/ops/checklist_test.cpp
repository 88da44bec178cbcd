// The checklist reader: its limits and the conversion of UTF-8 to the
// fonts' Latin-1, fed whole and in single bytes.
#include <gtest/gtest.h>

#include <string>

#include "ops/checklist.h"

namespace {

using ems::Checklist;

Checklist parse(const std::string& text)
{
    Checklist c;
    ems::checklist_parse(reinterpret_cast<const uint8_t*>(text.data()), text.size(), c);
    return c;
}

TEST(Checklist, LineLimitsAndEndings)
{
    std::string text;
    for (int i = 0; i < 31; ++i) text += "LINE " + std::to_string(i) + "\r\n";
    text.replace(0, 6, std::string(70, 'X')); // line 0 of 70 characters + "0\r\n"
    const Checklist c = parse(text);
    EXPECT_EQ(c.line_count, 30);
    EXPECT_EQ(std::string(c.lines[0]), std::string(59, 'X'));
    EXPECT_STREQ(c.lines[29], "LINE 29");

    // A last line without a line feed is kept; a bare CR after it is not a line.
    EXPECT_EQ(parse("A\nB").line_count, 2);
    EXPECT_EQ(parse("A\n\r").line_count, 1);
    EXPECT_EQ(parse("").line_count, 0);
}

TEST(Checklist, Utf8BecomesLatin1AndLatin1StaysAsItIs)
{
    const struct {
        std::string in, out;
    } cases[] = {
        {"\xEF\xBB\xBF" "CAF\xC3\x89\n", "CAF\xC9"},           // BOM dropped, É
        {"5 \xE2\x82\xAC \xE2\x80\x93 \xE2\x80\x9CX\xE2\x80\x9D\n", "5 \x80 \x96 \x93X\x94"}, // € – “ ”
        {"\xE2\x9C\x93 OK\n", "? OK"},                          // a tick the fonts lack
        {"\xD6L \xB0" "C\n", "\xD6L \xB0" "C"},                  // a Latin-1 file
        {"\xC3(\xE2\x82\n", "\xC3(\xE2\x82"},                    // broken sequences kept as bytes
        {"\xE0\x80\x80\n", "\xE0\x80\x80"},                      // an overlong form is not UTF-8
    };
    for (const auto& t : cases) {
        EXPECT_STREQ(parse(t.in).lines[0], t.out.c_str()) << t.in;
        Checklist c;
        ems::ChecklistReader reader(c);
        for (char ch : t.in) reader.feed(reinterpret_cast<const uint8_t*>(&ch), 1);
        reader.finish();
        EXPECT_STREQ(c.lines[0], t.out.c_str()) << "byte by byte: " << t.in;
    }
    // Characters, not bytes, count toward the 59 of a line.
    std::string accents;
    for (int i = 0; i < 60; ++i) accents += "\xC3\xA9";
    EXPECT_EQ(std::string(parse(accents + "\n").lines[0]), std::string(59, '\xE9'));
}

} // namespace
