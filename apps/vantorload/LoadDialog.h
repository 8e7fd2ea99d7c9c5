#pragma once
// The VantorLoad window: one dialog with the device type, the gateway to
// connect to, the new network settings, the serial settings of COM1 and
// COM2, the buttons 连接/断开, RTU设置, IP设置 and 关于, and a progress bar.
// Every rule lives in the core exchange (load::LoadExchange); the dialog
// hands it its fields and button presses and shows what it answers.
#include "load/LoadExchange.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vantor::gui {
class ExchangeDriver;
class IpAddressEdit;
} // namespace vantor::gui

class LoadDialog : public QDialog {
    Q_OBJECT
public:
    // `directory`: where the address files IP/ip.txt and IP/port.txt live
    // (the working directory). The files are read at once.
    explicit LoadDialog(const QString& directory, QWidget* parent = nullptr);
    ~LoadDialog() override;

    vantor::load::LoadExchange& exchange() { return *exchange_; }
    vantor::gui::ExchangeDriver& driver() { return *driver_; }

    // The buttons' actions (also reachable by clicking them).
    void pressConnect();
    void pressRtu();
    void pressIp();
    void showAbout();

    struct PortControls {
        QComboBox* baud;
        QComboBox* parity;
        QComboBox* stop;
        QLineEdit* dataBits;
        QLineEdit* address;
    };

public slots:
    void reject() override;

private:
    PortControls makePort(QWidget* parent, const QString& prefix);
    void fillFields(const vantor::load::LoadFields& f);
    // The controls as they are now, handed to the exchange.
    void pushFields();
    // Buttons and enabled states as the exchange says.
    void refresh();
    void afterPress(bool (vantor::load::LoadExchange::*press)());

    std::unique_ptr<vantor::load::LoadExchange> exchange_;
    vantor::gui::ExchangeDriver* driver_ = nullptr;
    bool filling_ = false;

    QComboBox* deviceType_;
    vantor::gui::IpAddressEdit* gatewayIp_;
    QLineEdit* configPort_;
    QPushButton* connect_;
    vantor::gui::IpAddressEdit* newIp_;
    vantor::gui::IpAddressEdit* mask_;
    vantor::gui::IpAddressEdit* gateway_;
    QLineEdit* modPort_;
    PortControls com1_;
    PortControls com2_;
    QPushButton* rtu_;
    QPushButton* ip_;
    QProgressBar* progress_;
    QPushButton* about_;
};
