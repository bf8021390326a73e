#include "scenario.h"

#include <cerrno>
#include <cstdlib>

#include "escapes.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// A whole decimal number within [low, high], nothing else.
bool ParseNumber(const std::string& text, long long low, long long high, long long& number)
{
    if (text.empty() || IsBlank(text[0]))
        return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high)
        return false;
    number = value;
    return true;
}

// One line's keyword and the text after the single space that follows it.
struct Line {
    std::string keyword;
    std::string text;
};

Line SplitLine(const std::string& line)
{
    std::size_t start = 0;
    while (start < line.size() && IsBlank(line[start]))
        ++start;
    const std::size_t space = line.find(' ', start);
    if (space == std::string::npos)
        return {line.substr(start), ""};
    return {line.substr(start, space - start), line.substr(space + 1)};
}

bool IsIgnored(const Line& line)
{
    return line.keyword.empty() || line.keyword[0] == '#';
}

// Reads one line into the scenario; false with `why` set when it cannot.
bool ReadLine(const Line& line, Scenario& scenario, std::string& why)
{
    const std::string& k = line.keyword;
    if (k == "when") {
        if (line.text == "*")
            scenario.push_back({Block::Selector::Any, "", 0, {}});
        else
            scenario.push_back({Block::Selector::Exact, line.text, 0, {}});
        return true;
    }
    if (k == "when-prefix") {
        scenario.push_back({Block::Selector::Prefix, line.text, 0, {}});
        return true;
    }
    if (k == "when-nth") {
        const std::size_t space = line.text.find(' ');
        long long nth = 0;
        if (space == std::string::npos ||
            !ParseNumber(line.text.substr(0, space), 1, 1LL << 62, nth)) {
            why = "expected when-nth <n> <text> with n >= 1";
            return false;
        }
        scenario.push_back({Block::Selector::Nth, line.text.substr(space + 1),
                            static_cast<unsigned long long>(nth), {}});
        return true;
    }

    Action action = {};
    if (k == "out" || k == "err") {
        action.kind = k == "out" ? Action::Kind::Out : Action::Kind::Err;
        action.bytes = DecodeEscapes(line.text);
    } else if (k == "sleep") {
        action.kind = Action::Kind::Sleep;
        if (!ParseNumber(line.text, 0, 0xFFFFFFFELL, action.number)) {
            why = "expected sleep <milliseconds>";
            return false;
        }
    } else if (k == "exit") {
        action.kind = Action::Kind::Exit;
        if (!ParseNumber(line.text, -0x80000000LL, 0xFFFFFFFFLL, action.number)) {
            why = "expected exit <code>";
            return false;
        }
    } else {
        why = "unknown keyword '" + k + "'";
        return false;
    }
    if (scenario.empty()) {
        why = "'" + k + "' before any when line";
        return false;
    }
    scenario.back().actions.push_back(action);
    return true;
}

}  // namespace

bool ParseScenario(const std::string& text, Scenario& scenario, std::string& error)
{
    scenario.clear();
    std::size_t start = 0;
    for (int number = 1; start <= text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string raw = text.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        start = end + 1;

        const Line line = SplitLine(raw);
        std::string why;
        if (!IsIgnored(line) && !ReadLine(line, scenario, why)) {
            error = "scenario line " + std::to_string(number) + ": " + why;
            return false;
        }
    }
    return true;
}

const Block* SelectBlock(const Scenario& scenario, const std::string& argumentText,
                         unsigned long long callNumber)
{
    const Block* exact = nullptr;
    const Block* prefix = nullptr;
    const Block* any = nullptr;
    for (const Block& block : scenario) {
        switch (block.selector) {
        case Block::Selector::Nth:
            if (block.nth == callNumber && block.text == argumentText)
                return &block;
            break;
        case Block::Selector::Exact:
            if (!exact && block.text == argumentText)
                exact = &block;
            break;
        case Block::Selector::Prefix:
            if (!prefix && StartsWith(argumentText, block.text))
                prefix = &block;
            break;
        case Block::Selector::Any:
            if (!any)
                any = &block;
            break;
        }
    }
    if (exact)
        return exact;
    return prefix ? prefix : any;
}
