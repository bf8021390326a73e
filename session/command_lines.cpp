#include "session/command_lines.h"

#include "session/ansi_text.h"

std::string DriveLine(const std::string& directory)
{
    return directory.substr(0, 2);
}

std::string CdLine(const std::string& directory)
{
    if (ContainsAnyAnsiChar(directory, "&|()^<>"))
        return "cd \"" + directory + "\"";
    return "cd " + directory;
}
