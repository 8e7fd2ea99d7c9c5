#include "editing/CdtOptionsForm.h"

#include "editing/FieldText.h"
#include "text/Shown.h"

#include <algorithm>
#include <optional>

namespace vantor::editing {

namespace {

std::optional<int> inRange(const std::string& s, int high) {
    auto v = editing::filledDigitsValue(s);
    if (!v || *v > high)
        return std::nullopt;
    return static_cast<int>(*v);
}

int com1Line(const model::CVantorDoc& doc) {
    return doc.lineByName("COM1");
}

} // namespace

int cdtBaudItem(int baudCode) {
    for (std::size_t i = 0; i < kCdtBaudCodes.size(); ++i)
        if (kCdtBaudCodes[i] == baudCode)
            return static_cast<int>(i);
    return 0;
}

CdtOptionsForm CdtOptionsForm::load(const model::CVantorDoc& doc) {
    CdtOptionsForm form;
    int line = com1Line(doc);
    if (line >= 0) {
        const auto& com = doc.coms[static_cast<std::size_t>(line)];
        form.baudItem = cdtBaudItem(com.baud);
        form.parityItem = com.check >= 0 && com.check < 3 ? com.check : 0;
    }
    form.remoteStation = std::to_string(doc.cdtOptions[0]);
    form.gatewayStation = std::to_string(doc.cdtOptions[1]);
    form.telemetryPeriod = std::to_string(doc.cdtOptions[2]);
    form.telesignalPeriod = std::to_string(doc.cdtOptions[3]);
    return form;
}

bool CdtOptionsForm::apply(model::CVantorDoc& doc, MessageSink& sink) {
    auto remote = inRange(remoteStation, 255);
    if (!remote) {
        sink.error(VT_TEXT("错误"), VT_TEXT("远端CDT站地址取值范围:0~255"));
        return false;
    }
    auto gateway = inRange(gatewayStation, 255);
    if (!gateway) {
        sink.error(VT_TEXT("错误"), VT_TEXT("网关CDT站地址取值范围:0~255"));
        return false;
    }
    if (*remote == *gateway) {
        sink.plain(VT_TEXT("远端CDT站地址和网关CDT站地址不能为同一地址"));
        return false;
    }
    auto telemetry = inRange(telemetryPeriod, 1000);
    if (!telemetry) {
        sink.error(VT_TEXT("错误"), VT_TEXT("遥测模拟量发送周期取值范围:0~1000"));
        return false;
    }
    if (*telemetry % 10 != 0) {
        *telemetry -= *telemetry % 10;
        telemetryPeriod = std::to_string(*telemetry);
    }
    auto telesignal = inRange(telesignalPeriod, 3000);
    if (!telesignal) {
        sink.error(VT_TEXT("错误"), VT_TEXT("遥信开关量发送周期取值范围:0~3000"));
        return false;
    }
    if (*telesignal % 10 != 0) {
        *telesignal -= *telesignal % 10;
        telesignalPeriod = std::to_string(*telesignal);
    }
    int line = com1Line(doc);
    if (line >= 0) {
        auto& com = doc.coms[static_cast<std::size_t>(line)];
        com.baud = kCdtBaudCodes.at(static_cast<std::size_t>(std::clamp(baudItem, 0, 3)));
        com.check = std::clamp(parityItem, 0, 2);
    }
    doc.cdtOptions = {*remote, *gateway, *telemetry, *telesignal};
    doc.modified = true;
    return true;
}

} // namespace vantor::editing
