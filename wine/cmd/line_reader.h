// Reads standard input line by line. Several lines often arrive in one pipe
// read; everything read is kept in our own buffer until it has been handed
// out, so no byte is lost and nothing ever has to seek back on the pipe.
#pragma once

#include <windows.h>

#include <string>

// Cuts a byte stream into lines at each LF, dropping one CR before it.
class LineSplitter {
public:
    void Feed(const char* data, size_t size) { pending_.append(data, size); }

    // The next complete line without its line end; false when none is whole.
    bool TakeLine(std::string& line);

    // At end of input: what followed the last LF, if anything did.
    bool TakeRest(std::string& line);

private:
    std::string pending_;
};

class LineReader {
public:
    explicit LineReader(HANDLE input) : input_(input) {}

    // The next line; false once the input has ended and every line,
    // including an unterminated last one, has been returned.
    bool ReadLine(std::string& line);

private:
    HANDLE input_;
    LineSplitter splitter_;
    bool ended_ = false;
};
