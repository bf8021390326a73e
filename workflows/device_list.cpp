#include "workflows/device_list.h"

#include "session/ansi_text.h"

namespace {

constexpr char kStateReady[] = "device";

bool IsReadyDeviceLine(std::string line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    const size_t tab = FindAnsi(line, "\t");
    if (tab == std::string::npos || tab == 0)
        return false;
    return line.compare(tab + 1, std::string::npos, kStateReady) == 0;
}

}  // namespace

bool HasDeviceListHeader(const OutputBuffer& output)
{
    return FindAnsi(output, kDeviceListHeader) != std::string::npos;
}

bool ListsReadyPhone(const OutputBuffer& output)
{
    const size_t header = FindAnsi(output, kDeviceListHeader);
    if (header == std::string::npos)
        return false;
    std::string list = output.substr(header);
    RemoveAllAnsi(list, kDeviceListHeader);

    // A line feed is never the second byte of a double-byte character in
    // the Windows code pages (their second bytes start at 0x40), so lines can
    // be split on the byte itself.
    size_t start = 0;
    for (;;) {
        const size_t end = list.find('\n', start);
        if (IsReadyDeviceLine(list.substr(start, end - start)))
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}
