#pragma once
// The device commands of the 设备 menu, the toolbar and the drawing, each
// one call the main window makes. Every function shows its own messages
// and boxes and returns when its window has closed.
#include "model/CVantorDoc.h"

#include <QString>

class QWidget;

// 配置下载 (32772, toolbar 32785): the download checks and question, then
// the download window and the result box.
void runDownloadCommand(QWidget* parent, vantor::model::CVantorDoc& doc);
// 网络参数设置 (32776): "请添加主站" without a gateway; nothing for TRX-H-QMB6.
void runNetworkParamsCommand(QWidget* parent, vantor::model::CVantorDoc& doc);
// 访问参数设置 (32802): the access IP, kept in IP/ETHOption.xml below
// `startDirectory`.
void runAccessParamsCommand(QWidget* parent, vantor::model::CVantorDoc& doc, const QString& startDirectory);
// 从站状态 (32806): "请添加一个主站!" without a gateway; nothing for
// TRX-H-QMB6. The control-word window opens from its list. 通信诊断 opens
// the same window at its health tab (`healthFirst`).
void runSlaveStateCommand(QWidget* parent, vantor::model::CVantorDoc& doc, bool healthFirst = false);
// 固件升级 (32818): only for the models that open it; files from
// FIRMWARE/ below `startDirectory`.
void runFirmwareCommand(QWidget* parent, vantor::model::CVantorDoc& doc, const QString& startDirectory);
// 模式设置 (32826): only for the models that offer it. True when the mode
// changed (the project is then modified).
bool runWorkModeCommand(QWidget* parent, vantor::model::CVantorDoc& doc);
// Double-click on the gateway in the drawing: the gateway information.
void runGatewayInfoCommand(QWidget* parent, vantor::model::CVantorDoc& doc);
// 调试报告: the commissioning report of the project, saved as HTML (or as
// PDF when the chosen name ends in .pdf); the gateway is asked for its
// identity and the slaves' state words only when the user says so.
void runReportCommand(QWidget* parent, const vantor::model::CVantorDoc& doc, const QString& projectPath);
