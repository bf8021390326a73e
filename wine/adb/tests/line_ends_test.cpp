#include "wine/adb/line_ends.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

struct LineEndCase {
    std::vector<std::string> chunks;
    std::string expected;
};

TEST(CrLfConverter, OnlyBareLineFeedsGainACarriageReturn)
{
    const LineEndCase cases[] = {
        {{""}, ""},
        {{"no line end"}, "no line end"},
        {{"a\nb\n"}, "a\r\nb\r\n"},
        {{"\n\n"}, "\r\n\r\n"},
        {{"a\r\nb\r\n"}, "a\r\nb\r\n"},
        {{"\r\r\n"}, "\r\r\n"},
        {{"a\rb\n"}, "a\rb\r\n"},
        {{"nul\0\xff\n"s}, "nul\0\xff\r\n"s},
        // Chunk boundaries: a CR ending one chunk belongs to the next LF.
        {{"a\r", "\nb"}, "a\r\nb"},
        {{"a", "\n"}, "a\r\n"},
        {{"a\r", "x\n"}, "a\rx\r\n"},
        {{"\r", "", "\n"}, "\r\n"},
        {{"\n", "\n"}, "\r\n\r\n"},
    };
    for (const LineEndCase& c : cases) {
        CrLfConverter converter;
        std::string converted;
        for (const std::string& chunk : c.chunks)
            converted += converter.Convert(chunk);
        EXPECT_EQ(converted, c.expected) << "chunks: " << ::testing::PrintToString(c.chunks);
    }
}

}  // namespace
