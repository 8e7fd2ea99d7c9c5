#pragma once
// The sheets both programs' project workbooks have, one per level. Their
// names are the workbook's, the same in every language.
#include "text/Shown.h"

namespace vantor::workbook {

inline constexpr const char* kGatewaySheet = VT_DATA("网关");
inline constexpr const char* kLinesSheet = VT_DATA("串口");
inline constexpr const char* kSlavesSheet = VT_DATA("从站");
inline constexpr const char* kCommandsSheet = VT_DATA("命令");

} // namespace vantor::workbook
