#include "escapes.h"

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The byte that "\<c>" stands for, or -1 when <c> starts no one-letter escape.
int SimpleEscape(char c)
{
    switch (c) {
    case 'r': return '\r';
    case 'n': return '\n';
    case 't': return '\t';
    case 's': return ' ';
    case '0': return '\0';
    case '\\': return '\\';
    default: return -1;
    }
}

}  // namespace

std::string DecodeEscapes(const std::string& text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
            continue;
        }
        const char next = text[i + 1];
        if (const int simple = SimpleEscape(next); simple >= 0) {
            bytes += static_cast<char>(simple);
            ++i;
        } else if (next == 'x' && i + 3 < text.size() && HexValue(text[i + 2]) >= 0 &&
                   HexValue(text[i + 3]) >= 0) {
            bytes += static_cast<char>(HexValue(text[i + 2]) * 16 + HexValue(text[i + 3]));
            i += 3;
        } else {
            bytes += '\\';
        }
    }
    return bytes;
}
