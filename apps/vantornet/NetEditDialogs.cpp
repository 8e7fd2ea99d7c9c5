#include "NetEditDialogs.h"

#include "FileChooser.h"
#include "FormDialog.h"
#include "QtMessageSink.h"
#include "QtText.h"
#include "net/NetCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

using namespace vantor;
using vantor::editing::FormResult;
using vantor::gui::fieldText;
using vantor::gui::FormDialog;
using vantor::gui::q;

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(NetEditDialogs)
};

// A form label as the form dialog takes it.
std::string label(const QString& text) {
    return text.toStdString();
}

// Two exclusive choices in one row of the form; true when the first is on.
struct RadioPair {
    QRadioButton* first;
    QRadioButton* second;
};
RadioPair radioPair(FormDialog& d, const QString& label, const char* firstName, const QString& firstText,
                    const char* secondName, const QString& secondText, bool firstOn) {
    auto* first = new QRadioButton(firstText);
    first->setObjectName(firstName);
    auto* second = new QRadioButton(secondText);
    second->setObjectName(secondName);
    (firstOn ? first : second)->setChecked(true);
    auto* row = new QVBoxLayout;
    row->addWidget(first);
    row->addWidget(second);
    d.form()->addRow(label, row);
    return {first, second};
}

} // namespace

bool runNetServerDialog(QWidget* parent, net::CVantorNetDoc& doc, net::NetServerForm& form,
                        const QString& startDirectory) {
    FormDialog d(parent, Texts::tr("从站属性"));
    QLineEdit* ip = d.edit("editIp", label(Texts::tr("IP地址：")), form.ipText);
    QLineEdit* port = d.edit("editPort", label(Texts::tr("端口号：")), form.portText);
    QLineEdit* unit = d.edit("editUnit", label(Texts::tr("从站MOD地址：")), form.unitText);
    QLineEdit* interval = d.edit("editInterval", label(Texts::tr("报文发送延时(ms)：")), form.intervalText);
    QLineEdit* timeout = d.edit("editTimeout", label(Texts::tr("应答超时时间(ms)：")), form.timeoutText);
    QLineEdit* name = d.edit("editName", label(Texts::tr("设备名称：")), form.nameText);
    auto* picture = new QLineEdit(q(form.picture));
    picture->setObjectName("editPicture");
    picture->setReadOnly(true);
    auto* choose = new QPushButton("...");
    choose->setObjectName("buttonPicture");
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(picture);
    pictureRow->addWidget(choose);
    d.form()->addRow(Texts::tr("设备图像："), pictureRow);
    QObject::connect(choose, &QPushButton::clicked, &d, [&] {
        const QString path = gui::chooseOpenFile(&d, Texts::tr("设备图像"), startDirectory + "/BITMAP",
                                                 "BMP Files (*.bmp);;All Files (*)");
        // Pictures are looked up below the working directory: keep it.
        QDir::setCurrent(startDirectory);
        if (!path.isEmpty())
            picture->setText(q(net::pictureFileName(path.toStdString())));
    });
    auto* control = new QCheckBox(Texts::tr("控制使能"));
    control->setObjectName("checkControl");
    control->setChecked(form.control);
    d.form()->addRow(control);
    d.outer()->addWidget(new QLabel(gui::shown(net::kServerFormNote)));
    const bool accepted = d.run([&] {
        form.ipText = fieldText(ip);
        form.portText = fieldText(port);
        form.unitText = fieldText(unit);
        form.intervalText = fieldText(interval);
        form.timeoutText = fieldText(timeout);
        form.nameText = fieldText(name);
        form.picture = fieldText(picture);
        form.control = control->isChecked();
        gui::QtMessageSink sink(&d);
        return net::acceptServerForm(doc, form, sink);
    });
    net::endServerForm(doc);
    return accepted;
}

bool runNetCommandDialog(QWidget* parent, net::CVantorNetDoc& doc, net::NetCommandForm& form) {
    FormDialog d(parent, Texts::tr("命令设置"));
    auto* title = new QLabel(gui::shown(form.title));
    title->setObjectName("labelFunction");
    d.form()->addRow(title);
    QLineEdit* modbus = d.edit("editModbus", label(Texts::tr("MODBUS地址：")), form.modbusText);
    modbus->setEnabled(form.modbusEnabled);
    QLineEdit* start = d.edit("editStart", text::shown(form.startLabel), form.startText);
    QLineEdit* length = d.edit("editLength", text::shown(form.lengthLabel), form.lengthText);
    length->setEnabled(form.lengthEnabled);
    QLineEdit* gateway = d.edit("editGateway", label(Texts::tr("网关地址：")), form.gatewayText);
    QLineEdit* comment = d.edit("editComment", label(Texts::tr("注释：")), form.commentText);
    // Parented to the dialog: a hidden box is never added to the form.
    auto* editSend = new QCheckBox(Texts::tr("数变即发"), &d);
    editSend->setObjectName("checkEditSend");
    editSend->setChecked(form.editSend);
    if (form.editSendVisible)
        d.form()->addRow(editSend);
    else
        editSend->hide();
    return d.run([&] {
        form.modbusText = fieldText(modbus);
        form.startText = fieldText(start);
        form.lengthText = fieldText(length);
        form.gatewayText = fieldText(gateway);
        form.commentText = fieldText(comment);
        form.editSend = editSend->isChecked();
        gui::QtMessageSink sink(&d);
        const FormResult r = net::acceptNetCommandForm(doc, form, sink);
        // An edit refused by the overlap checks shows the command's old values.
        start->setText(q(form.startText));
        length->setText(q(form.lengthText));
        gateway->setText(q(form.gatewayText));
        comment->setText(q(form.commentText));
        editSend->setChecked(form.editSend);
        return r;
    });
}

bool runNetGatewayDialog(QWidget* parent, net::CVantorNetDoc& doc) {
    net::NetGatewayForm form = net::openGatewayForm(doc);
    FormDialog d(parent, Texts::tr("主站设置"));
    struct PortControls {
        QComboBox* baud;
        QComboBox* parity;
        QComboBox* stop;
        QLineEdit* address;
    };
    auto portGroup = [&](const QString& title, int number, const net::NetPortFields& f, bool enabled) {
        auto* box = new QGroupBox(title);
        box->setObjectName(QString("groupCom%1").arg(number));
        auto* layout = new QFormLayout(box);
        const QByteArray n = QByteArray::number(number);
        PortControls c{gui::comboBox(("comboBaud" + n).constData(), net::kBaudList, f.baud),
                       gui::comboBox(("comboParity" + n).constData(), net::kParityList, f.parity),
                       gui::comboBox(("comboStop" + n).constData(), net::kStopList, f.stop),
                       new QLineEdit(q(f.addressText))};
        c.address->setObjectName("editAddress" + n);
        auto* dataBits = new QLineEdit("8");
        dataBits->setObjectName("editDataBits" + n);
        dataBits->setReadOnly(true);
        layout->addRow(Texts::tr("波特率："), c.baud);
        layout->addRow(Texts::tr("校验位："), c.parity);
        layout->addRow(Texts::tr("停止位："), c.stop);
        layout->addRow(Texts::tr("数据位："), dataBits);
        layout->addRow(Texts::tr("MODBUS地址："), c.address);
        for (QWidget* w : {static_cast<QWidget*>(c.baud), static_cast<QWidget*>(c.parity),
                           static_cast<QWidget*>(c.stop), static_cast<QWidget*>(c.address)})
            w->setEnabled(enabled);
        d.outer()->addWidget(box);
        return c;
    };
    const PortControls com1 = portGroup("COM1", 1, form.com1, true);
    const PortControls com2 = portGroup("COM2", 2, form.com2, form.com2Enabled);
    auto read = [](const PortControls& c, net::NetPortFields& f) {
        f.baud = c.baud->currentIndex();
        f.parity = c.parity->currentIndex();
        f.stop = c.stop->currentIndex();
        f.addressText = fieldText(c.address);
    };
    return d.run([&] {
        read(com1, form.com1);
        read(com2, form.com2);
        gui::QtMessageSink sink(&d);
        return net::acceptGatewayForm(doc, form, sink);
    });
}

bool runNetWorkModeDialog(QWidget* parent, net::CVantorNetDoc& doc) {
    const std::optional<int> mode = net::openWorkModeForm(doc);
    if (!mode)
        return false;
    FormDialog d(parent, Texts::tr("工作模式设置"));
    const RadioPair radios =
        radioPair(d, Texts::tr("工作模式："), "radioRtuSlave", gui::shown(std::string(net::kWorkModes[0])),
                  "radioRtuMaster", gui::shown(std::string(net::kWorkModes[1])), *mode == 0);
    return d.run([&] {
        net::acceptWorkModeForm(doc, radios.first->isChecked() ? 0 : 1);
        return FormResult::Accepted;
    });
}

bool runNetChangeSendDialog(QWidget* parent, net::CVantorNetDoc& doc) {
    FormDialog d(parent, Texts::tr("数变即发默认设置"));
    const RadioPair radios =
        radioPair(d, Texts::tr("数变即发："), "radioEnable", Texts::tr("使能"), "radioDisable",
                  Texts::tr("不使能"), net::openChangeSendDefaultForm(doc));
    return d.run([&] {
        net::acceptChangeSendDefaultForm(doc, radios.first->isChecked());
        return FormResult::Accepted;
    });
}
