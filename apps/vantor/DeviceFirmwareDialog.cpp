#include "DeviceFirmwareDialog.h"

#include "DeviceCommands.h"
#include "FileChooser.h"
#include "QtText.h"

#include "services/FirmwareImage.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace vantor;

DeviceFirmwareDialog::DeviceFirmwareDialog(QWidget* parent, const std::string& model,
                                           const QString& firmwareFolder,
                                           const services::FirmwareSettings& settings)
    : DeviceDialog(parent), model_(model), folder_(firmwareFolder), settings_(settings) {
    setObjectName("dialogFirmwareUpdate");
    setWindowTitle(tr("固件升级"));
    files_ = new QComboBox(this);
    files_->setObjectName("combo1097");
    files_->setMinimumWidth(260);
    for (const auto& name : services::firmwareFiles(firmwareFolder.toStdString(), model))
        files_->addItem(QString::fromStdString(name));
    if (files_->count() > 0)
        files_->setCurrentIndex(0);
    auto* browse = new QPushButton(tr("浏览..."), this);
    browse->setObjectName("buttonBrowse");
    connect(browse, &QPushButton::clicked, this, &DeviceFirmwareDialog::chooseFile);
    auto* where = new QLabel(gui::shown(services::firmwareSearchNote(folder_.toStdString(), model)), this);
    where->setObjectName("labelFolder");
    where->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress1017");
    progress_->setValue(0);
    showProgressIn(progress_);
    upgrade_ = new QPushButton(tr("升级"), this);
    upgrade_->setObjectName("button1096");
    close_ = new QPushButton(tr("关闭"), this);
    connect(upgrade_, &QPushButton::clicked, this, &DeviceFirmwareDialog::upgrade);
    connect(close_, &QPushButton::clicked, this, &DeviceFirmwareDialog::reject);

    auto* form = new QFormLayout;
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(files_, 1);
    fileRow->addWidget(browse);
    form->addRow(tr("固件版本:"), fileRow);
    form->addRow(where);
    auto* note = new QLabel(tr("升级前请将拨码开关BIT4置为ON"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(upgrade_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(progress_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DeviceFirmwareDialog::upgrade() {
    if (driver() && !driver()->isFinished())
        return;
    std::optional<transfer::Bytes> file;
    if (files_->count() > 0) {
        // A file chosen elsewhere is read where it lies.
        const QString chosen = files_->currentData().toString();
        QFile f(chosen.isEmpty() ? QDir(folder_).filePath(files_->currentText()) : chosen);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray data = f.readAll();
            file = transfer::Bytes(data.begin(), data.end());
        }
    }
    exchange_ = std::make_unique<services::FirmwareExchange>(model_, std::move(file), settings_);
    runExchange(*exchange_, true);
}

void DeviceFirmwareDialog::chooseFile() {
    const QString path =
        gui::chooseOpenFile(this, tr("选择固件文件"), folder_, tr("固件文件 (*.bin);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    int index = files_->findData(path);
    if (index < 0) {
        files_->addItem(name, path);
        index = files_->count() - 1;
    }
    files_->setCurrentIndex(index);
}

void DeviceFirmwareDialog::onEventHandled() {
    const bool transferring = exchange_ && exchange_->transferring() && !exchange_->finished();
    upgrade_->setEnabled(!transferring);
    close_->setEnabled(!transferring);
}

void DeviceFirmwareDialog::reject() {
    // No closing while blocks are on their way: the gateway would be left
    // with half an image.
    if (exchange_ && exchange_->transferring() && !exchange_->finished())
        return;
    DeviceDialog::reject();
}

void runFirmwareCommand(QWidget* parent, model::CVantorDoc& doc, const QString& startDirectory) {
    if (!services::firmwareUpdateOffered(doc.modelName()))
        return;
    services::FirmwareSettings settings;
    settings.host = doc.IP;
    settings.accessPort = doc.accessPort;
    settings.portOverride = accessPortOverride();
    DeviceFirmwareDialog dialog(parent, doc.modelName(), QDir(startDirectory).filePath("FIRMWARE"), settings);
    dialog.exec();
    dialog.showOutcome(parent);
}
