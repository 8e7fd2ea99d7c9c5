#pragma once
// The result texts the device exchanges of more than one window end with,
// each written once here; an exchange names the ones its window shows under
// its own constant.
#include "text/Shown.h"

namespace vantor::transfer::result {

// A download or settings run that failed, followed by the status number or
// the reason (Vantor's download and network parameters, VantorNet's
// download and IP setting).
inline constexpr const char* kFailed = VT_TEXT("下 载 失 败！");
// The reason after kFailed when the gateway did not answer in time.
inline constexpr const char* kReplyTimeout = VT_TEXT(" 应答超时");
// A settings run or VantorNet's download that the gateway acknowledged.
inline constexpr const char* kDone = VT_TEXT("下载完毕！");
// A MODBUS TCP request the gateway left unanswered (slave states, control
// word).
inline constexpr const char* kNoReply = VT_TEXT("无应答");
// VantorNet's and VantorLoad's connection that could not be made.
inline constexpr const char* kConnectFailed = VT_TEXT("连接失败，请查看IP设置或硬件灯显示");

} // namespace vantor::transfer::result
