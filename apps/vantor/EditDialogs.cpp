#include "EditDialogs.h"

#include "FormDialog.h"
#include "QtMessageSink.h"
#include "QtText.h"
#include "editing/CommandEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <functional>

using namespace vantor;
using vantor::editing::FormResult;
using vantor::gui::FormDialog;
using vantor::gui::q;

namespace {

struct EditDialogs {
    Q_DECLARE_TR_FUNCTIONS(EditDialogs)
};

std::string s(const QLineEdit* e) {
    return gui::fieldText(e);
}

} // namespace

bool runSlaveDialog(QWidget* parent, model::CVantorDoc& doc, editing::SlavePropertiesForm& form) {
    FormDialog d(parent, EditDialogs::tr("从站属性"));
    QLineEdit* address = d.edit("edit1001", EditDialogs::tr("从站地址："), form.addressText);
    QLineEdit* name = d.edit("edit1002", EditDialogs::tr("设备名称："), form.nameText);
    QLineEdit* interval = d.edit("edit1014", EditDialogs::tr("报文发送延时："), form.intervalText);
    QLineEdit* timeout = d.edit("edit1020", EditDialogs::tr("应答超时时间："), form.timeoutText);
    auto* group = new QGroupBox(EditDialogs::tr("配置字："));
    auto* boxes = new QVBoxLayout(group);
    const struct {
        const char* label;
        bool* value;
        uint8_t bit;
    } bits[] = {{QT_TRANSLATE_NOOP("EditDialogs", "从站操作使能"), &form.operationEnable, 0x80},
                {QT_TRANSLATE_NOOP("EditDialogs", "保留报错"), &form.keepError, 0x40},
                {QT_TRANSLATE_NOOP("EditDialogs", "清除错误"), &form.clearError, 0x20},
                {QT_TRANSLATE_NOOP("EditDialogs", "数变即发"), &form.changeSend, 0x02},
                {QT_TRANSLATE_NOOP("EditDialogs", "写停发"), &form.writeStop, 0x01}};
    std::vector<std::pair<QCheckBox*, bool*>> checks;
    int id = 1015;
    for (auto [label, value, bit] : bits) {
        auto* c = new QCheckBox(EditDialogs::tr(label));
        c->setObjectName(QString("check%1").arg(id++));
        c->setChecked(*value);
        // Boxes whose bit OK does not keep are shown, not offered.
        c->setEnabled((editing::kSlaveKeptControlBits & bit) != 0);
        boxes->addWidget(c);
        checks.emplace_back(c, value);
    }
    d.outer()->addWidget(group);
    d.outer()->addWidget(new QLabel(gui::shown(editing::kSlaveFormNote)));
    return d.run([&] {
        form.addressText = s(address);
        form.nameText = s(name);
        form.intervalText = s(interval);
        form.timeoutText = s(timeout);
        for (auto [box, value] : checks)
            *value = box->isChecked();
        gui::QtMessageSink sink(&d);
        return editing::acceptSlaveForm(doc, form, sink);
    });
}

bool runCommandDialog(QWidget* parent, model::CVantorDoc& doc, editing::CommandForm& form) {
    FormDialog d(parent, EditDialogs::tr("命令编辑"));
    d.form()->addRow(new QLabel(gui::shown(form.title)));
    QLineEdit* start = d.edit("edit1095", form.startLabel, form.startText);
    QLineEdit* length = d.edit("edit1096", form.lengthLabel, form.lengthText);
    length->setEnabled(form.lengthEnabled);
    QLineEdit* gateway = d.edit("edit1098", form.gatewayLabel, form.gatewayText);
    QLineEdit* comment = d.edit("edit1099", form.commentLabel, form.commentText);
    // Parented to the dialog: a box not offered is never added to the form,
    // and hidden (it would otherwise sit in the dialog's corner).
    auto* editSend = new QCheckBox(&d);
    editSend->setObjectName("checkEditSend");
    editSend->setChecked(form.editSend);
    if (form.editSendVisible)
        d.form()->addRow(EditDialogs::tr("数变即发:"), editSend);
    else
        editSend->hide();
    auto* cdtYx = new QCheckBox(EditDialogs::tr("同时映射到遥信数据区"), &d);
    cdtYx->setObjectName("checkCdtYx");
    cdtYx->setChecked(form.cdtYx);
    if (form.cdtYxVisible)
        d.form()->addRow(cdtYx);
    else
        cdtYx->hide();
    auto show = [&] {
        start->setText(q(form.startText));
        length->setText(q(form.lengthText));
        gateway->setText(q(form.gatewayText));
        comment->setText(q(form.commentText));
        editSend->setChecked(form.editSend);
        cdtYx->setChecked(form.cdtYx);
    };
    return d.run([&] {
        form.startText = s(start);
        form.lengthText = s(length);
        form.gatewayText = s(gateway);
        form.commentText = s(comment);
        form.editSend = editSend->isChecked();
        form.cdtYx = cdtYx->isChecked();
        gui::QtMessageSink sink(&d);
        FormResult r = editing::acceptCommandForm(doc, form, sink);
        show(); // an edit refused by the overlap check restores the saved values
        return r;
    });
}

bool runComDialog(QWidget* parent, model::CVantorDoc& doc, editing::ComPropertiesForm& form) {
    FormDialog d(parent, EditDialogs::tr("COM属性"));
    QComboBox* baud = gui::comboBox("combo1014", editing::baudTexts(), form.baud);
    QComboBox* parity = gui::comboBox("combo1011", editing::parityTexts(), form.check);
    QComboBox* stop = gui::comboBox("combo1013", editing::stopTexts(), form.stop);
    d.form()->addRow(EditDialogs::tr("波特率："), baud);
    d.form()->addRow(EditDialogs::tr("校验位："), parity);
    d.form()->addRow(EditDialogs::tr("停止位："), stop);
    QLineEdit* interval = d.edit("edit1067", EditDialogs::tr("从站时间间隔："), form.intervalText);
    QLineEdit* dataBits = d.edit("edit1036", EditDialogs::tr("数据位:"), form.dataBitsText);
    dataBits->setReadOnly(true);
    return d.run([&] {
        form.baud = baud->currentIndex();
        form.check = parity->currentIndex();
        form.stop = stop->currentIndex();
        form.intervalText = s(interval);
        gui::QtMessageSink sink(&d);
        return editing::acceptComForm(doc, form, sink);
    });
}

bool runAddressingModeDialog(QWidget* parent, model::CVantorDoc& doc, editing::AddressingModeForm& form) {
    FormDialog d(parent, EditDialogs::tr("寻址方式设置"));
    auto* dataArea = new QRadioButton(gui::shown(editing::kDataAreaAddressingText));
    dataArea->setObjectName("radio1049");
    auto* remote = new QRadioButton(gui::shown(editing::kRemoteAddressingText));
    remote->setObjectName("radio1050");
    (form.remote ? remote : dataArea)->setChecked(true);
    d.form()->addRow(dataArea);
    d.form()->addRow(remote);
    return d.run([&] {
        form.remote = remote->isChecked();
        gui::QtMessageSink sink(&d);
        return editing::acceptAddressingModeForm(doc, form, sink);
    });
}

bool runDefaultValuesDialog(QWidget* parent, model::CVantorDoc& doc, editing::DefaultValuesForm& form) {
    FormDialog d(parent, EditDialogs::tr("默认值设置"));
    auto* on = new QRadioButton(EditDialogs::tr("使能"));
    on->setObjectName("radio1049");
    auto* off = new QRadioButton(EditDialogs::tr("不使能"));
    off->setObjectName("radio1050");
    (form.editSendEnabled ? on : off)->setChecked(true);
    auto* row = new QHBoxLayout;
    row->addWidget(on);
    row->addWidget(off);
    d.form()->addRow(EditDialogs::tr("数变即发默认设置:"), row);
    QLineEdit* interval = d.edit("edit1078", EditDialogs::tr("报文发送间隔:"), form.intervalText);
    QLineEdit* timeout = d.edit("edit1079", EditDialogs::tr("应答超时时间:"), form.timeoutText);
    return d.run([&] {
        form.editSendEnabled = on->isChecked();
        form.intervalText = s(interval);
        form.timeoutText = s(timeout);
        gui::QtMessageSink sink(&d);
        return editing::acceptDefaultValuesForm(doc, form, sink);
    });
}
