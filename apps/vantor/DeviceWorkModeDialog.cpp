#include "DeviceWorkModeDialog.h"

#include "DeviceCommands.h"
#include "QtText.h"

#include "services/WorkMode.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace vantor;

DeviceWorkModeDialog::DeviceWorkModeDialog(QWidget* parent, model::CVantorDoc& doc)
    : QDialog(parent), doc_(doc) {
    setObjectName("dialogWorkMode");
    setWindowTitle(tr("工作模式设置"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* group = new QGroupBox(tr("工作模式"), this);
    slave_ = new QRadioButton(gui::shown(std::string(services::kWorkModeNames[0])), group);
    master_ = new QRadioButton(gui::shown(std::string(services::kWorkModeNames[1])), group);
    slave_->setObjectName("radio1049");
    master_->setObjectName("radio1050");
    auto* g = new QVBoxLayout(group);
    g->addWidget(slave_);
    g->addWidget(master_);
    (services::workModeSelection(doc) == 1 ? master_ : slave_)->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &DeviceWorkModeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DeviceWorkModeDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void DeviceWorkModeDialog::accept() {
    services::storeWorkMode(doc_, master_->isChecked() ? 1 : 0);
    QDialog::accept();
}

bool runWorkModeCommand(QWidget* parent, model::CVantorDoc& doc) {
    if (!services::workModeOffered(doc.modelName()))
        return false;
    const int before = doc.GW_work_mode;
    DeviceWorkModeDialog dialog(parent, doc);
    dialog.exec();
    return doc.GW_work_mode != before;
}
