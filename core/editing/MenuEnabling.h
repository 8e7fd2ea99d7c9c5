#pragma once
// Which model-dependent menu functions the main window offers, recomputed
// after opening a project and after adding or deleting the gateway. The
// window maps each flag onto its menu item (and toolbar button).
#include "common/MessageSink.h"
#include "model/CVantorDoc.h"

namespace vantor::editing {

enum MenuCommand : int {
    CmdDownload = 32772,        // 配置下载
    CmdToolbarDownload = 32785, // 配置下载 on the toolbar
    CmdNetworkParams = 32776,   // 网络参数设置
    CmdAddressMap = 32777,      // 网关地址映射表
    CmdAccessParams = 32802,    // 访问参数设置
    CmdDefaultValues = 32804,   // 默认值设置
    CmdSlaveState = 32806,      // 从站状态
    CmdUpload = 32813,          // 配置上传
    CmdAddressingMode = 32817,  // 寻址方式设置
    CmdFirmware = 32818,        // 固件升级
    CmdEipParams = 32821,       // EIP网关参数
    CmdEipAddressMap = 32824,   // EIP网关地址映射表
    CmdWorkMode = 32826,        // 模式设置
};

struct MenuEnabling {
    bool download = false;
    bool networkParams = false;
    bool accessParams = false;
    bool defaultValues = false;
    bool slaveState = false;
    bool addressMap = false;
    bool upload = false; // never: no action is bound to it
    bool addressingMode = false;
    bool firmware = false;
    bool eipParams = false;
    bool eipAddressMap = false;
    bool workMode = false;

    // The flag of a menu command id; commands this step does not govern
    // (file, view, help, the toolbar download) answer true.
    bool enabled(int commandId) const;
    bool operator==(const MenuEnabling&) const = default;
};

// The enabling step: everything off without a gateway; with one, per the
// gateway model's feature set.
MenuEnabling menuEnabling(const model::CVantorDoc& doc);

// What the address-map command opens for the project's model.
enum class AddressMapKind { GatewayAddressMap, CdtAddressTable };
AddressMapKind addressMapKind(const model::CVantorDoc& doc);

// The toolbar's download button: without a gateway "请添加一个主站!";
// otherwise the area check. True when the download may start.
bool checkToolbarDownload(model::CVantorDoc& doc, MessageSink& sink);

} // namespace vantor::editing
