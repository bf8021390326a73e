// Windows line ends for text that Linux programs print: adb.exe on Windows
// ends its lines with CR LF, the Linux adb with a bare LF.
#pragma once

#include <string>
#include <string_view>

// Feed the text chunk by chunk; a CR at the end of one chunk still counts
// for an LF at the start of the next.
class CrLfConverter {
public:
    // `chunk` with every LF that has no CR before it turned into CR LF.
    std::string Convert(std::string_view chunk);

private:
    bool afterCr_ = false;
};
