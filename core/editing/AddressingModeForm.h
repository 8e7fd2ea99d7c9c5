#pragma once
// The addressing-mode form ("寻址方式设置"): data-area addressing, or remote
// slave addressing, which needs slave addresses unique in the project.
#include "common/MessageSink.h"
#include "editing/FormResult.h"
#include "model/CVantorDoc.h"
#include "text/Shown.h"

namespace vantor::editing {

inline constexpr const char* kDataAreaAddressingText =
    VT_TEXT("MODBUS数据区寻址(参考本软件生成的网关地址映射表)");
inline constexpr const char* kRemoteAddressingText =
    VT_TEXT("远端从站寻址(网关多个串口上挂载的从站地址不能相同)");

struct AddressingModeForm {
    bool remote = false; // radio 1050 ticked
};

AddressingModeForm openAddressingModeForm(const model::CVantorDoc& doc);

// OK. Switching to remote addressing is refused while two slaves share an
// address; the message names both ("COM2:3和COM1:3"). Neither occupancy
// table is rebuilt.
FormResult acceptAddressingModeForm(model::CVantorDoc& doc, const AddressingModeForm& form,
                                    MessageSink& sink);

} // namespace vantor::editing
