// Compiled with -fexec-charset=GBK: every literal below is stored as GBK.
#include "workflows/status_texts.h"

#define QUORVIX_FORUM_ADDRESS "bbs.korvanta-miraluna.example"

const char kStatusConnecting[] = "连接手机中...";
const char kStatusPhoneConnected[] = "已连接手机";
const char kStatusNoPhone[] = "未连接到手机,请插入手机或检查usbdebug模式！";
const char kStatusNoDeviceList[] = "未连接到手机，请插入手机或检查usbdebug模式！";
const char kStatusChecking[] = "检测设备中...";
const char kStatusApplyFailed[] = "设置失败，请确认手机已连接并已获取ROOT权限！";
const char kStatusChooseLanguage[] = "请先选择语言！";

const char kForumAddress[] = QUORVIX_FORUM_ADDRESS;
const char kStatusApplied[] = "设置已完成,设备重启中....更多工具，请关注论坛：" QUORVIX_FORUM_ADDRESS;
