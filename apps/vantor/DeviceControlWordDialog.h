#pragma once
// 控制字设置: four hex digits for one slave's control word, written with a
// MODBUS TCP single-register write. Success closes the window ("设置成功"
// after it); a refusal ("设置失败") or no reply keeps it open for another
// try with a new exchange.
#include "DeviceDialog.h"

#include "services/ControlWordExchange.h"

#include <memory>

class QLineEdit;

class DeviceControlWordDialog : public DeviceDialog {
    Q_OBJECT
public:
    DeviceControlWordDialog(QWidget* parent, const vantor::services::ControlWordSettings& settings,
                            int displayAddress, uint16_t value);

    int displayAddress() const { return address_; }
    QLineEdit* valueEdit() const { return edit_; }

public slots:
    // OK: checks the text and writes the word.
    void accept() override;

protected:
    void onConnectedToGateway() override { connected_ = true; }
    void onExchangeFinished(bool success, const QString& resultText) override;

private:
    vantor::services::ControlWordSettings settings_;
    int address_;
    QLineEdit* edit_;
    std::unique_ptr<vantor::services::ControlWordExchange> exchange_;
    bool connected_ = false;
};
