// Compiled with -fexec-charset=GBK: every literal below is stored as GBK.
#include "app/notice_text.h"

#include "workflows/status_texts.h"

std::string BuildNoticeText()
{
    std::string notice;
    notice += "【Korvanta-Miraluna】HTC一键设置语言\r\n";
    notice += "【Korvanta-Miraluna】 网站地址：";
    notice += kForumAddress;
    notice += "\r\n\r\n\r\n";
    notice += " 注意事项:\r\n";
    notice += " 1,本工具需要手机获取ROOT权限，请在获取ROOT权限后使用。\r\n";
    notice += " 2,使用前请先打开手机的USB调试模式,连接电脑和手机采用\"仅充电\"模式.\r\n ";
    return notice;
}
