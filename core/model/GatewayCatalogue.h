#pragma once
// The catalogue of gateway models: every model-dependent constant and the
// checks that use them. Rules ask this table instead of comparing names.
#include "common/MessageSink.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::model {

class CVantorDoc;

enum Feature : uint32_t {
    FeatureNetworkParams = 1u << 0,   // 网络参数设置
    FeatureSlaveState = 1u << 1,      // 从站状态
    FeatureAddressingMode = 1u << 2,  // 寻址方式设置
    FeatureFirmwareMenu = 1u << 3,    // 固件升级 menu item
    FeatureFirmwareOpens = 1u << 4,   // the firmware dialog actually opens
    FeatureEipParams = 1u << 5,       // EIP网关参数, EIP网关地址映射表
    FeatureWorkMode = 1u << 6,        // 模式设置
    FeatureCdt = 1u << 7,             // CDT table, CDT options, isCDTYx
    FeatureTwoPortBlocks = 1u << 8,   // network request with two port blocks
    FeatureServicePort60000 = 1u << 9 // device services on TCP port 60000
};

struct GatewayModel {
    std::string_view name;
    std::vector<std::string_view> ports; // allowed COMName values
    int slaveLimit;                      // slaves per port
    int commandLimit;                    // commands in the project
    int bitAreaEnd;                      // areas 0 and 1, bits
    int wordAreaEnd;                     // areas 3 and 4, words
    std::optional<uint8_t> modelCode;    // first byte of the identity word
    uint32_t features;

    bool has(Feature f) const { return (features & f) != 0; }
};

// Every model, in the catalogue tree's order.
std::span<const GatewayModel> gatewayModels();

// The model with this name, or nullptr.
const GatewayModel* findGatewayModel(std::string_view name);

// The model with this name; an unknown or empty name gets the common limits
// (31 slaves, 512 commands, 8192 bits, 2000 words, no model code, no features).
const GatewayModel& gatewayModel(std::string_view name);

// The last three bytes of every identity word.
inline constexpr uint8_t kIdentityTail[3] = {0x34, 0x58, 0x06};

// The identity word a gateway reports, 4 bytes in order (model code, then
// kIdentityTail); fewer bytes (a reply too short to hold it) are no
// identity. The one check of it, for the download, the slave states, the
// device information and the firmware update.
//
// The device name for an identity, or "未知设备".
std::string identityName(std::span<const uint8_t> identity);
// True when the identity names the project's model. A model without a
// model code passes whatever came; the others never match a missing one.
bool identityMatchesModel(std::string_view model, std::span<const uint8_t> identity);
// "设备型号不匹配 配置设备为<model> 实际设备为<device>"; the EtherNet/IP
// gateway's projects name KX-P6R0-1.0, whose identity it reports.
std::string modelMismatchText(std::string_view model, std::span<const uint8_t> identity);

// Area check over all commands (slave order, then command order), plus the
// telesignal/telemetry sums of the CDT gateway. Shows the first failure and
// answers false; on success marks the document modified.
bool checkAreas(CVantorDoc& doc, MessageSink& sink);

// Before a command is added: false (with its message) when the project holds
// the model's command limit or more.
bool checkCommandCount(const CVantorDoc& doc, MessageSink& sink);

// Before a slave is added to or pasted onto a line: false (with its message)
// when the line holds the model's slave limit or more.
bool checkSlaveCount(const CVantorDoc& doc, int line, MessageSink& sink);

} // namespace vantor::model
