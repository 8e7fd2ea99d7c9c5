#include "model/GatewayCatalogue.h"

#include "model/CVantorDoc.h"
#include "text/Numbers.h"
#include "text/Shown.h"

#include <array>

namespace vantor::model {
namespace {

constexpr uint32_t kCommon =
    FeatureNetworkParams | FeatureSlaveState | FeatureAddressingMode | FeatureFirmwareMenu;

const std::vector<std::string_view> kCom1{"COM1"};
const std::vector<std::string_view> kCom12{"COM1", "COM2"};
const std::vector<std::string_view> kCom14{"COM1", "COM2", "COM3", "COM4"};
const std::vector<std::string_view> kCom16{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6"};

const std::array<GatewayModel, 10> kModels{{
    {"NXE-485-ZRTU2", kCom12, 31, 512, 8192, 2000, 0x71, kCommon},
    {"KX-P1R0-1.0", kCom1, 31, 512, 4096, 2000, 0x72, kCommon | FeatureFirmwareOpens},
    {"KX-P2R0-1.0", kCom12, 31, 512, 8192, 2000, 0x74, kCommon | FeatureFirmwareOpens | FeatureTwoPortBlocks},
    {"KX-P4R0-1.0", kCom14, 31, 512, 8192, 2000, 0x75, kCommon | FeatureFirmwareOpens | FeatureTwoPortBlocks},
    {"KX-P6R0-1.0", kCom16, 31, 512, 8192, 2000, 0x73, kCommon | FeatureFirmwareOpens | FeatureTwoPortBlocks},
    {"TRC-H-ZRTU", kCom12, 31, 512, 8192, 2000, std::nullopt, kCommon | FeatureCdt},
    {"NXE-485-ZRTU2E", kCom12, 64, 512, 8192, 2000, 0x77, kCommon},
    {"TRX-H-QMB6", kCom16, 31, 256, 8192, 2000, 0x73,
     FeatureEipParams | FeatureTwoPortBlocks | FeatureServicePort60000},
    {"KX-P1-1.0", kCom1, 31, 512, 4096, 2000, 0x72, kCommon | FeatureFirmwareOpens},
    {"LNK-P1-1.0", kCom1, 31, 512, 4096, 2000, 0x72, kCommon | FeatureFirmwareOpens | FeatureWorkMode},
}};

const GatewayModel kUnknownModel{"", {}, 31, 512, 8192, 2000, std::nullopt, 0};

} // namespace

std::span<const GatewayModel> gatewayModels() {
    return kModels;
}

const GatewayModel* findGatewayModel(std::string_view name) {
    for (const auto& m : kModels)
        if (m.name == name)
            return &m;
    return nullptr;
}

const GatewayModel& gatewayModel(std::string_view name) {
    const GatewayModel* m = findGatewayModel(name);
    return m ? *m : kUnknownModel;
}

namespace {
constexpr const char* kUnknownDevice = VT_TEXT("未知设备");

bool hasIdentityTail(std::span<const uint8_t> id) {
    return id.size() >= 4 && id[1] == kIdentityTail[0] && id[2] == kIdentityTail[1] &&
           id[3] == kIdentityTail[2];
}
} // namespace

bool identityMatchesModel(std::string_view model, std::span<const uint8_t> identity) {
    const auto& m = gatewayModel(model);
    return !m.modelCode || (hasIdentityTail(identity) && identity[0] == *m.modelCode);
}

std::string modelMismatchText(std::string_view model, std::span<const uint8_t> identity) {
    const std::string configured = model == "TRX-H-QMB6" ? std::string("KX-P6R0-1.0") : std::string(model);
    return text::shownFormat(VT_TEXT("设备型号不匹配 配置设备为%s 实际设备为%s"), configured.c_str(),
                             text::shown(identityName(identity)).c_str());
}

std::string identityName(std::span<const uint8_t> id) {
    if (!hasIdentityTail(id))
        return kUnknownDevice;
    switch (id[0]) {
    case 0x71:
        return "NXE-485-ZRTU2";
    case 0x72:
        return "LNK-P1-1.0";
    case 0x73:
        return "KX-P6R0-1.0";
    case 0x74:
        return "KX-P2R0-1.0";
    case 0x75:
        return "KX-P4R0-1.0";
    case 0x77:
        return "NXE-485-ZRTU2E";
    default:
        return kUnknownDevice;
    }
}

bool checkAreas(CVantorDoc& doc, MessageSink& sink) {
    const GatewayModel& model = gatewayModel(doc.modelName());
    const bool small = model.bitAreaEnd == 4096;
    long long telesignal = 0;
    long long telemetry = 0;
    for (const auto& slave : doc.slaves) {
        for (const auto& m : slave.modules) {
            long long end = static_cast<long long>(m.Gate_Add) + m.Length;
            bool bad = false;
            if (m.area_num == 3 || m.area_num == 4)
                bad = end > model.wordAreaEnd;
            else if (m.area_num == 0 || m.area_num == 1)
                bad = end > model.bitAreaEnd;
            if (bad) {
                sink.error(VT_TEXT("错误"),
                           small ? VT_TEXT("网关数据区访问超限 0区4096,1区4096,3区2000,4区2000")
                                 : VT_TEXT("网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"));
                return false;
            }
            if (m.area_num == 0 || (m.area_num == 1 && m.read_wri == 0))
                telesignal += m.Length;
            if (m.area_num == 3 || (m.area_num == 4 && m.read_wri == 0))
                telemetry += m.Length;
        }
    }
    if (model.has(FeatureCdt)) {
        if (telesignal > 512) {
            sink.error(VT_TEXT("错误"), VT_TEXT("遥信最大数据为512bit"));
            return false;
        }
        if (telemetry > 256) {
            sink.error(VT_TEXT("错误"), VT_TEXT("遥测最大数据为256word"));
            return false;
        }
    }
    doc.modified = true;
    return true;
}

bool checkCommandCount(const CVantorDoc& doc, MessageSink& sink) {
    int limit = gatewayModel(doc.modelName()).commandLimit;
    if (doc.commandCount() >= limit) {
        sink.error(VT_TEXT("错误"), text::shownFormat(VT_TEXT("模块数超范围，最大模块数为%d"), limit));
        return false;
    }
    return true;
}

bool checkSlaveCount(const CVantorDoc& doc, int line, MessageSink& sink) {
    int limit = gatewayModel(doc.modelName()).slaveLimit;
    if (static_cast<int>(doc.slavesOfLine(line).size()) >= limit) {
        sink.error(VT_TEXT("错误"), text::shownFormat(VT_TEXT("每个串口上最多连接%d个从站"), limit));
        return false;
    }
    return true;
}

} // namespace vantor::model
