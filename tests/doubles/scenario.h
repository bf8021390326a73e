// A scenario: which output an adb call gets for which argument text.
//
//   # comment                    blank lines are ignored too
//   when <text>                  calls whose argument text is exactly <text>
//   when-nth <n> <text>          only the n-th such call (beats `when`)
//   when-prefix <prefix>         calls starting with <prefix>, first block wins
//   when *                       any other call
//     out <escaped>              one write to stdout, then a flush
//     err <escaped>              the same on stderr
//     sleep <ms>
//     exit <code>                ends the call at once with that code
//
// A selector starts a block that runs to the next selector. Keywords may be
// indented; their text starts after exactly one space and keeps trailing
// spaces (a CR ending a line is dropped). See escapes.h for <escaped>.
#pragma once

#include <string>
#include <vector>

struct Action {
    enum class Kind { Out, Err, Sleep, Exit };
    Kind kind;
    std::string bytes;   // Out, Err
    long long number;    // Sleep (ms), Exit (code)
};

struct Block {
    enum class Selector { Exact, Nth, Prefix, Any };
    Selector selector;
    std::string text;         // Exact, Nth: the argument text; Prefix: its start
    unsigned long long nth;   // Nth only
    std::vector<Action> actions;
};

using Scenario = std::vector<Block>;

// Fills `scenario` from the file's text; on a line it cannot read it returns
// false and says which line and why in `error`.
bool ParseScenario(const std::string& text, Scenario& scenario, std::string& error);

// The block for the `callNumber`-th call (1-based) with this argument text,
// or nullptr when no block matches.
const Block* SelectBlock(const Scenario& scenario, const std::string& argumentText,
                         unsigned long long callNumber);
