#include "wine/adb/sh_script.h"

#include <gtest/gtest.h>

namespace {

struct QuoteCase {
    const char* word;
    const char* quoted;
};

TEST(QuoteForSh, EveryWordBecomesOneLiteralWord)
{
    const QuoteCase cases[] = {
        {"", "''"},
        {"devices", "'devices'"},
        {"echo CN > /data/property/persist.sys.country",
         "'echo CN > /data/property/persist.sys.country'"},
        {"say \"hi\"", "'say \"hi\"'"},
        {"it's", "'it'\\''s'"},
        {"'", "''\\'''"},
        {"''", "''\\'''\\'''"},
        {"$HOME $(id) `id`", "'$HOME $(id) `id`'"},
        {"C:\\dir\\", "'C:\\dir\\'"},
        {"a\nb", "'a\nb'"},
        {"; | & * ?", "'; | & * ?'"},
    };
    for (const QuoteCase& c : cases)
        EXPECT_EQ(QuoteForSh(c.word), c.quoted) << "word: " << c.word;
}

// File paths are quoted like arguments (a user's temporary folder may hold
// ' or $), and the program never waits for input.
TEST(ForwardScript, QuotesProgramArgumentsAndFiles)
{
    const ScriptFiles files{"/t/it's.out", "/t/$x.done", "/t/$x.done.tmp"};
    EXPECT_EQ(ForwardScript("/opt/my adb", {"shell", "echo CN > /f", ""}, files),
              "'/opt/my adb' 'shell' 'echo CN > /f' '' </dev/null >'/t/it'\\''s.out' 2>&1\n"
              "echo $? >'/t/$x.done.tmp'\n"
              "mv -f '/t/$x.done.tmp' '/t/$x.done'\n");
}

}  // namespace
