#include "line_reader.h"

namespace {

constexpr DWORD kChunkSize = 4096;

}  // namespace

bool LineSplitter::TakeLine(std::string& line)
{
    const size_t end = pending_.find('\n');
    if (end == std::string::npos)
        return false;
    const size_t length = end > 0 && pending_[end - 1] == '\r' ? end - 1 : end;
    line.assign(pending_, 0, length);
    pending_.erase(0, end + 1);
    return true;
}

bool LineSplitter::TakeRest(std::string& line)
{
    if (pending_.empty())
        return false;
    line.swap(pending_);
    pending_.clear();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

bool LineReader::ReadLine(std::string& line)
{
    char chunk[kChunkSize];
    while (!splitter_.TakeLine(line)) {
        if (ended_)
            return splitter_.TakeRest(line);
        DWORD read = 0;
        // A pipe reports its end as ERROR_BROKEN_PIPE, a file or console as
        // a successful read of nothing.
        if (!ReadFile(input_, chunk, kChunkSize, &read, nullptr) || read == 0)
            ended_ = true;
        else
            splitter_.Feed(chunk, read);
    }
    return true;
}
