#pragma once
// VantorNet's editing forms as modal dialogs: each copies the core form into
// its controls, and on OK copies the controls back and lets the core decide
// whether the dialog closes (a refusal keeps it open with the user's input).
// True when the user's OK was accepted.
#include "net/NetCommandForm.h"
#include "net/NetServerForm.h"
#include "net/NetSettingsForms.h"

#include <QString>

class QWidget;

// 从站属性: the server's fields; "..." chooses a picture below
// `startDirectory`/BITMAP and keeps only its file name.
bool runNetServerDialog(QWidget* parent, vantor::net::CVantorNetDoc& doc, vantor::net::NetServerForm& form,
                        const QString& startDirectory);
// 命令设置.
bool runNetCommandDialog(QWidget* parent, vantor::net::CVantorNetDoc& doc, vantor::net::NetCommandForm& form);
// 主站设置: both serial ports (COM2 locked for the single-port models).
bool runNetGatewayDialog(QWidget* parent, vantor::net::CVantorNetDoc& doc);
// 工作模式设置: only for a gateway with a choice of work mode; false
// otherwise or when cancelled.
bool runNetWorkModeDialog(QWidget* parent, vantor::net::CVantorNetDoc& doc);
// 数变即发默认设置.
bool runNetChangeSendDialog(QWidget* parent, vantor::net::CVantorNetDoc& doc);
