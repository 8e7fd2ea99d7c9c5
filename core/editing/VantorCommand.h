#pragma once
// The numbers of Vantor's own menu, toolbar and drawing commands. Each
// action is named command<number>, so the numbers never change. The file,
// edit, view and help commands both configurators share are numbered by
// the project window (gui::ProjectWindow::StandardCommand).
namespace vantor::editing {

enum class VantorCommand : int {
    Download = 32772,        // 配置下载
    Delete = 32773,          // 删除 of the drawing's selection
    NetworkParams = 32776,   // 网络参数设置
    AddressMap = 32777,      // 网关地址映射表
    ToolbarDownload = 32785, // 配置下载 on the toolbar
    ToggleModules = 32799,   // 查看 模块栏
    ToggleCatalogue = 32800, // 查看 设备树
    AccessParams = 32802,    // 访问参数设置
    DefaultValues = 32804,   // 默认值设置
    SlaveState = 32806,      // 从站状态
    SetControlWord = 32808,  // 设置控制字 in the slave-state list
    Copy = 32811,            // 复制 of the selected slave
    Paste = 32812,           // 粘贴
    Upload = 32813,          // 配置上传
    AddressingMode = 32817,  // 寻址方式设置
    Firmware = 32818,        // 固件升级
    FirmwareFolder = 32820,  // 工作目录 固件目录
    EipParams = 32821,       // EIP网关参数
    EipAddressMap = 32824,   // EIP网关地址映射表
    WorkMode = 32826,        // 模式设置
};

} // namespace vantor::editing
