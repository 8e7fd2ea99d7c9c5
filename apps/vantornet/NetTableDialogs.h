#pragma once
// 网关地址映射表 of VantorNet: the DP address table ("DP地址映射表") for the
// PROFIBUS model, the gateway address map (four lists, read-only) for the
// others.
#include "net/CVantorNetDoc.h"

class QWidget;

void runNetAddressMapCommand(QWidget* parent, const vantor::net::CVantorNetDoc& doc);
