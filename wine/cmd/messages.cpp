// Compiled with the GBK execution character set: the Chinese literals below
// become the GBK bytes cmd.exe prints under code page 936.
#include "messages.h"

namespace {

constexpr UINT kChineseCodePage = 936;

}  // namespace

std::string MessageText(Message message, UINT codePage)
{
    const bool chinese = codePage == kChineseCodePage;
    switch (message) {
    case Message::PathNotFound:
        return chinese ? "系统找不到指定的路径。\r\n" : "The system cannot find the path specified.\r\n";
    case Message::DriveNotFound:
        return chinese ? "系统找不到指定的驱动器。\r\n" : "The system cannot find the drive specified.\r\n";
    }
    return {};
}

std::string NotRecognizedText(const std::string& word, UINT codePage)
{
    if (codePage == kChineseCodePage)
        return "'" + word + "' 不是内部或外部命令，也不是可运行的程序\r\n或批处理文件。\r\n";
    return "'" + word + "' is not recognized as an internal or external command,\r\n"
           "operable program or batch file.\r\n";
}
