// The interpreter's Chinese messages as the GBK bytes Windows cmd.exe prints
// under code page 936, spelled out byte by byte so that they do not depend
// on how any source file is compiled.
#pragma once

#include <string>

// 系统找不到指定的路径。
inline const std::string kPathNotFound936 =
    "\xcf\xb5\xcd\xb3\xd5\xd2\xb2\xbb\xb5\xbd\xd6\xb8\xb6\xa8\xb5\xc4\xc2\xb7\xbe\xb6\xa1\xa3"
    "\r\n";

// 系统找不到指定的驱动器。
inline const std::string kDriveNotFound936 =
    "\xcf\xb5\xcd\xb3\xd5\xd2\xb2\xbb\xb5\xbd\xd6\xb8\xb6\xa8\xb5\xc4\xc7\xfd\xb6\xaf\xc6\xf7\xa1\xa3"
    "\r\n";

// '<word>' 不是内部或外部命令，也不是可运行的程序
// 或批处理文件。
inline std::string NotRecognized936(const std::string& word)
{
    return "'" + word + "'" +
           "\x20\xb2\xbb\xca\xc7\xc4\xda\xb2\xbf\xbb\xf2\xcd\xe2\xb2\xbf\xc3\xfc\xc1\xee\xa3\xac"
           "\xd2\xb2\xb2\xbb\xca\xc7\xbf\xc9\xd4\xcb\xd0\xd0\xb5\xc4\xb3\xcc\xd0\xf2"
           "\r\n"
           "\xbb\xf2\xc5\xfa\xb4\xa6\xc0\xed\xce\xc4\xbc\xfe\xa1\xa3"
           "\r\n";
}
