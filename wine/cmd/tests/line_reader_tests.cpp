#include "line_reader.h"
#include "common/unique_handle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SplitCase {
    const char* name;
    std::vector<std::string> pieces;
    std::vector<std::string> lines;
    std::string rest;  // after the last LF; empty for none
};

const SplitCase kSplitCases[] = {
    {"several lines in one piece", {"C:\r\ncd C:\\x\\ice\\\r\nadb devices\r\n"},
     {"C:", "cd C:\\x\\ice\\", "adb devices"}, ""},
    {"LF only", {"a\nb\n"}, {"a", "b"}, ""},
    {"empty lines", {"\r\n\n\r\n"}, {"", "", ""}, ""},
    {"a line split across pieces", {"cd C:\\Win", "dows", "\r\nx\r\n"}, {"cd C:\\Windows", "x"}, ""},
    {"CR and LF in different pieces", {"a\r", "\nb\r", "\n"}, {"a", "b"}, ""},
    {"an unterminated last line", {"a\r\nb"}, {"a"}, "b"},
    {"an unterminated last line ending in CR", {"a\nb\r"}, {"a"}, "b"},
    {"a CR inside a line stays", {"a\rb\n"}, {"a\rb"}, ""},
};

TEST(LineSplitter, HandsOutEveryLineOfTheBytesFed)
{
    for (const SplitCase& row : kSplitCases) {
        LineSplitter splitter;
        std::vector<std::string> lines;
        std::string line;
        for (const std::string& piece : row.pieces) {
            splitter.Feed(piece.data(), piece.size());
            while (splitter.TakeLine(line))
                lines.push_back(line);
        }
        EXPECT_EQ(lines, row.lines) << row.name;
        std::string rest;
        EXPECT_EQ(splitter.TakeRest(rest), !row.rest.empty()) << row.name;
        EXPECT_EQ(rest, row.rest) << row.name;
        EXPECT_FALSE(splitter.TakeRest(rest)) << row.name << ": the rest is handed out once";
    }
}

// The reader over a real pipe: lines written together, an unterminated last
// line, then the end of the pipe.
TEST(LineReader, ReadsEveryLineOfAPipeUntilItEnds)
{
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 0));
    const UniqueHandle readEnd(read);
    UniqueHandle writeEnd(write);
    const std::string bytes = "C:\r\ncd C:\\x\n\r\nlast";
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writeEnd.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    writeEnd.Reset();

    LineReader reader(readEnd.Get());
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"C:", "cd C:\\x", "", "last"}));
    EXPECT_FALSE(reader.ReadLine(line));
}

}  // namespace
