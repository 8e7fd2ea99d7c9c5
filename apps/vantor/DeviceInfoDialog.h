#pragma once
// 主站信息 (double-click on the gateway): reads the gateway's identity and
// serial number once and shows them; the run state in its colour on the
// field's own background. "复制" puts the serial number on the clipboard.
#include "DeviceDialog.h"

#include "services/DeviceInfoExchange.h"

#include <memory>

class QLineEdit;

class DeviceInfoDialog : public DeviceDialog {
    Q_OBJECT
public:
    DeviceInfoDialog(QWidget* parent, const std::string& model,
                     const vantor::services::DeviceInfoSettings& settings);

    void start();
    QLineEdit* field(const char* objectName) const;
    // "复制".
    void copySerialNumber();

protected:
    void onEventHandled() override;
    void onExchangeFinished(bool success, const QString& resultText) override;

private:
    std::unique_ptr<vantor::services::DeviceInfoExchange> exchange_;
    QLineEdit* id_;
    QLineEdit* version_;
    QLineEdit* state_;
    QLineEdit* build_;
    QLineEdit* mac1_;
    QLineEdit* mac2_;
    QLineEdit* serial_;
};
