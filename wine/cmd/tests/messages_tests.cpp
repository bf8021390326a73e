#include "messages.h"

#include "gbk_messages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char kPathNotFoundEnglish[] = "The system cannot find the path specified.\r\n";
constexpr char kDriveNotFoundEnglish[] = "The system cannot find the drive specified.\r\n";

struct MessageCase {
    UINT codePage;
    Message message;
    std::string expected;
};

// Chinese GBK bytes under 936 only; every other code page gets English.
TEST(MessageText, DependsOnTheCodePage)
{
    const MessageCase cases[] = {
        {936, Message::PathNotFound, kPathNotFound936},
        {936, Message::DriveNotFound, kDriveNotFound936},
        {1252, Message::PathNotFound, kPathNotFoundEnglish},
        {1252, Message::DriveNotFound, kDriveNotFoundEnglish},
        {437, Message::PathNotFound, kPathNotFoundEnglish},
        {65001, Message::DriveNotFound, kDriveNotFoundEnglish},
        {950, Message::PathNotFound, kPathNotFoundEnglish},
    };
    for (const MessageCase& row : cases)
        EXPECT_EQ(MessageText(row.message, row.codePage), row.expected)
            << "code page " << row.codePage << ", message " << static_cast<int>(row.message);
}

struct NotRecognizedCase {
    const char* word;
    UINT codePage;
    std::string expected;
};

TEST(NotRecognizedText, QuotesTheWordInTheCodePagesWords)
{
    const NotRecognizedCase cases[] = {
        {"adb", 936, NotRecognized936("adb")},
        {"\"C:\\no such\\adb.exe\"", 936, NotRecognized936("\"C:\\no such\\adb.exe\"")},
        {"adb", 1252,
         "'adb' is not recognized as an internal or external command,\r\n"
         "operable program or batch file.\r\n"},
        {"fastboot", 437,
         "'fastboot' is not recognized as an internal or external command,\r\n"
         "operable program or batch file.\r\n"},
    };
    for (const NotRecognizedCase& row : cases)
        EXPECT_EQ(NotRecognizedText(row.word, row.codePage), row.expected)
            << row.word << " under code page " << row.codePage;
}

}  // namespace
