// The sh script text that runs one Linux program for adb.exe under Wine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// `word` as one sh word that stands for exactly its bytes: single-quoted,
// each ' written as '\''.
std::string QuoteForSh(std::string_view word);

// Unix paths of the files the script writes.
struct ScriptFiles {
    std::string output;   // everything the program prints, stdout and stderr in order
    std::string done;     // the program's exit code, present only once complete
    std::string pending;  // where the exit code is written before moving to `done`
};

// Runs `program` (a Unix path, or a name sh looks up on PATH) with `args`
// and no input, then records its exit code in `files.done` in one rename, so
// a reader never sees that file half written.
std::string ForwardScript(std::string_view program, const std::vector<std::string>& args,
                          const ScriptFiles& files);
