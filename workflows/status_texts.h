// The texts the passes show in the status line, as GBK bytes.
#pragma once

extern const char kStatusConnecting[];       // 连接手机中...
extern const char kStatusPhoneConnected[];   // 已连接手机
extern const char kStatusNoPhone[];          // 未连接到手机,请插入手机或检查usbdebug模式！ (ASCII comma)
extern const char kStatusNoDeviceList[];     // 未连接到手机，请插入手机或检查usbdebug模式！ (full-width comma)
extern const char kStatusChecking[];         // 检测设备中...
extern const char kStatusApplyFailed[];      // 设置失败，请确认手机已连接并已获取ROOT权限！
extern const char kStatusChooseLanguage[];   // 请先选择语言！

// The maker's forum, shown in the notice and after a completed apply pass.
extern const char kForumAddress[];
// 设置已完成,设备重启中....更多工具，请关注论坛： followed by the forum address.
extern const char kStatusApplied[];
