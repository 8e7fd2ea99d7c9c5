#pragma once
// 固件升级: choose a firmware file of the project's model from the FIRMWARE
// folder (the window says where it looks), or any file through "浏览...",
// and press "升级"; the window connects (connecting box), checks the
// device, sends the image block by block with the progress bar, and cannot
// be closed while the transfer runs.
#include "DeviceDialog.h"

#include "services/FirmwareExchange.h"

#include <memory>

class QComboBox;
class QProgressBar;
class QPushButton;

class DeviceFirmwareDialog : public DeviceDialog {
    Q_OBJECT
public:
    DeviceFirmwareDialog(QWidget* parent, const std::string& model, const QString& firmwareFolder,
                         const vantor::services::FirmwareSettings& settings);

    QComboBox* files() const { return files_; }
    QProgressBar* progress() const { return progress_; }
    // "升级".
    void upgrade();
    // "浏览...": a firmware file from anywhere, added to the list.
    void chooseFile();

public slots:
    void reject() override;

protected:
    void onEventHandled() override;

private:
    std::string model_;
    QString folder_;
    vantor::services::FirmwareSettings settings_;
    std::unique_ptr<vantor::services::FirmwareExchange> exchange_;
    QComboBox* files_;
    QProgressBar* progress_;
    QPushButton* upgrade_;
    QPushButton* close_;
};
