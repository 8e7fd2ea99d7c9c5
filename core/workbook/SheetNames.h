#pragma once
// The sheets both programs' project workbooks have, one per level.
namespace vantor::workbook {

inline constexpr const char* kGatewaySheet = "网关";
inline constexpr const char* kLinesSheet = "串口";
inline constexpr const char* kSlavesSheet = "从站";
inline constexpr const char* kCommandsSheet = "命令";

} // namespace vantor::workbook
