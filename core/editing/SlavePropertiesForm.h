#pragma once
// The slave form ("从站属性") for an existing slave or a new one: fields,
// opening values, and the OK checks with their stores and the
// upkeep of both address-occupancy tables.
#include "common/MessageSink.h"
#include "editing/FormResult.h"
#include "editing/ProjectEditor.h"
#include "model/CVantorDoc.h"
#include "text/Shown.h"

#include <optional>
#include <string>

namespace vantor::editing {

struct SlavePropertiesForm {
    bool newSlave = false;
    int slave = -1; // existing slave
    int line = -1;  // new slave: the line it goes on

    std::string addressText;      // "从站地址："
    std::string nameText;         // "设备名称："
    std::string intervalText;     // "报文发送延时：" (ms)
    std::string timeoutText;      // "应答超时时间：" (ms)
    bool operationEnable = false; // "从站操作使能" (bit 7)
    bool keepError = false;       // "保留报错" (bit 6)
    bool clearError = false;      // "清除错误" (bit 5)
    bool changeSend = false;      // "数变即发" (bit 1)
    bool writeStop = false;       // "写停发" (bit 0)

    // New slave: what OK chose, handed to addSlave.
    NewSlaveValues result;
};

// The config-word bits OK takes from the boxes: operation enable alone
// (0x80 ticked, 0x7F not); the other boxes show the stored word only.
inline constexpr uint8_t kSlaveKeptControlBits = 0x80;

inline constexpr const char* kSlaveFormNote = VT_TEXT("注意: 报文发送间隔 应答超时时间取值为10的整数倍");

// Existing slave: its address, times in ms, name and config-word bits.
SlavePropertiesForm openSlaveForm(const model::CVantorDoc& doc, int slave);

// New slave on `line`: the lowest free address (remembered as the last
// proposed slave address), the project's default times, "SLAVE", only
// operation enable ticked. Empty optional (after kNoFreeSlaveAddress) when
// every address 1..255 is taken.
std::optional<SlavePropertiesForm> openNewSlaveForm(model::CVantorDoc& doc, int line, MessageSink& sink);

// OK. The checks run in order (config word, name, send interval, timeout,
// then the address); an existing slave takes the values only when all of
// them pass, so a refusal leaves the project unchanged; a new slave's values
// go to `form.result`.
FormResult acceptSlaveForm(model::CVantorDoc& doc, SlavePropertiesForm& form, MessageSink& sink);

} // namespace vantor::editing
