#include "session/ansi_text.h"

#include <cstring>

namespace {

// Bytes taken by the character that starts at `pos`.
size_t CharLength(const std::string& text, size_t pos, UINT codePage)
{
    const BYTE lead = static_cast<BYTE>(text[pos]);
    if (pos + 1 < text.size() && IsDBCSLeadByteEx(codePage, lead))
        return 2;
    return 1;
}

}  // namespace

size_t FindAnsi(const std::string& text, const std::string& needle, UINT codePage)
{
    for (size_t pos = 0; pos < text.size(); pos += CharLength(text, pos, codePage)) {
        if (text.compare(pos, needle.size(), needle) == 0)
            return pos;
    }
    return std::string::npos;
}

void RemoveAllAnsi(std::string& text, const std::string& needle, UINT codePage)
{
    if (needle.empty())
        return;
    std::string kept;
    kept.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        if (text.compare(pos, needle.size(), needle) == 0) {
            pos += needle.size();
            continue;
        }
        const size_t length = CharLength(text, pos, codePage);
        kept.append(text, pos, length);
        pos += length;
    }
    text.swap(kept);
}

bool ContainsAnyAnsiChar(const std::string& text, const char* chars, UINT codePage)
{
    for (size_t pos = 0; pos < text.size(); pos += CharLength(text, pos, codePage)) {
        if (text[pos] != '\0' && std::strchr(chars, text[pos]))
            return true;
    }
    return false;
}
