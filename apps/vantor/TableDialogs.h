#pragma once
// The read-only address tables (gateway address map, EtherNet/IP table, CDT
// table) and the two model-specific parameter dialogs (EtherNet/IP, CDT).
#include "model/CVantorDoc.h"

#include <QString>

class QWidget;

// 网关地址映射表: the opening checks, then the gateway map or, for the CDT
// gateway, the CDT address table.
void runAddressMapCommand(QWidget* parent, vantor::model::CVantorDoc& doc, const QString& startDirectory);
// EIP地址映射 (EtherNet/IP gateway only).
void runEipTableCommand(QWidget* parent, vantor::model::CVantorDoc& doc, const QString& startDirectory);
// EIP网关参数; true when the parameters were stored.
bool runEipParamsDialog(QWidget* parent, vantor::model::CVantorDoc& doc);
// CDT属性设置; true when the options were stored.
bool runCdtOptionsDialog(QWidget* parent, vantor::model::CVantorDoc& doc);
