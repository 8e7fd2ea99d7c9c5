#include "TableDialogs.h"

#include "FileChooser.h"
#include "QtMessageSink.h"
#include "QtText.h"
#include "RefusalList.h"
#include "TableList.h"
#include "editing/AddressMap.h"
#include "editing/CdtAddressTable.h"
#include "editing/CdtOptionsForm.h"
#include "editing/EipAddressTable.h"
#include "editing/EipParamsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <functional>

using namespace vantor;
using vantor::gui::addCloseRow;
using vantor::gui::q;
using vantor::gui::tableList;
using vantor::gui::titled;

namespace {

struct TableDialogs {
    Q_DECLARE_TR_FUNCTIONS(TableDialogs)
};

// The save dialog of both exports: a workbook below EXCEL/ of the start-up
// directory; empty when cancelled.
QString exportPath(QWidget* parent, const QString& startDirectory) {
    const QString dir = startDirectory + "/EXCEL";
    QDir().mkpath(dir);
    return gui::chooseSaveFile(parent, TableDialogs::tr("导出"), dir, gui::workbookFilter(), "xlsx");
}

void reportExport(QWidget* parent, bool ok, const std::string& errors, const QString& path) {
    gui::QtMessageSink sink(parent);
    if (ok)
        sink.information(TableDialogs::tr("信息").toStdString(),
                         TableDialogs::tr("已导出到 %1").arg(path).toStdString());
    else if (!errors.empty())
        sink.error(errors);
}

// The "导出" button of the table windows: asks for a file, writes it with
// `write` and reports the outcome.
QPushButton* exportButton(QDialog& d, const QString& startDirectory,
                          std::function<bool(const std::string& path, std::string& errors)> write) {
    auto* button = new QPushButton(TableDialogs::tr("导出"));
    button->setObjectName("button1096");
    QObject::connect(button, &QPushButton::clicked, &d, [&d, startDirectory, write] {
        const QString path = exportPath(&d, startDirectory);
        if (path.isEmpty())
            return;
        std::string errors;
        const bool ok = write(path.toStdString(), errors);
        reportExport(&d, ok, errors, path);
    });
    return button;
}

void showGatewayMap(QWidget* parent, const editing::AddressMap& map, const QString& startDirectory) {
    QDialog d(parent);
    d.setWindowTitle(TableDialogs::tr("网关地址映射表"));
    auto* layout = new QVBoxLayout(&d);
    auto* grid = new QGridLayout;
    const char* ids[] = {"list1024", "list1031", "list1032", "list1033"};
    for (int a = 0; a < 4; ++a) {
        QTableWidget* t = tableList(ids[a], gui::headerTexts(editing::mapColumnTitles(a)),
                                    {30, 110, 70, 70, 50, 70, 120}, QColor());
        gui::fillTable(t, map.areas[static_cast<std::size_t>(a)]);
        t->setMinimumWidth(gui::columnsWidth(t));
        grid->addWidget(titled(gui::shown(editing::mapListTitle(a)), t), a / 2, a % 2);
    }
    layout->addLayout(grid);
    addCloseRow(d, layout, exportButton(d, startDirectory, [&](const std::string& path, std::string& errors) {
                    return editing::exportAddressMap(map, path, errors);
                }));
    d.resize(1200, 700);
    d.exec();
}

void showCdtTable(QWidget* parent, const editing::CdtAddressTable& table) {
    QDialog d(parent);
    d.setWindowTitle(TableDialogs::tr("CDT设备地址映射表"));
    auto* layout = new QVBoxLayout(&d);
    QTableWidget* telesignal =
        tableList("list1090", gui::headerTexts(editing::kCdtDataColumns), {30, 100, 100, 100, 100});
    QTableWidget* telemetry =
        tableList("list1066", gui::headerTexts(editing::kCdtDataColumns), {30, 100, 100, 100, 100});
    QTableWidget* state = tableList("list1091", gui::headerTexts(editing::kCdtStateColumns), {30, 90, 90});
    gui::fillTable(telesignal, table.telesignal);
    gui::fillTable(telemetry, table.telemetry);
    gui::fillTable(state, table.slaveState);
    // Every column in view: the window grows with longer titles.
    for (QTableWidget* t : {telesignal, telemetry, state})
        t->setMinimumWidth(gui::columnsWidth(t));
    layout->addWidget(titled(gui::shown(editing::kCdtListTitles[0]), telesignal));
    layout->addWidget(titled(gui::shown(editing::kCdtListTitles[1]), telemetry));
    layout->addWidget(titled(gui::shown(editing::kCdtListTitles[2]), state));
    addCloseRow(d, layout, nullptr);
    d.resize(520, 720);
    d.exec();
}

} // namespace

void runAddressMapCommand(QWidget* parent, model::CVantorDoc& doc, const QString& startDirectory) {
    gui::QtMessageSink sink(parent);
    switch (editing::openAddressMap(doc, sink)) {
    case editing::MapView::GatewayMap:
        showGatewayMap(parent, editing::buildAddressMap(doc), startDirectory);
        break;
    case editing::MapView::CdtTable:
        showCdtTable(parent, editing::buildCdtAddressTable(doc));
        break;
    case editing::MapView::Refused:
        break;
    }
}

void runEipTableCommand(QWidget* parent, model::CVantorDoc& doc, const QString& startDirectory) {
    gui::QtMessageSink sink(parent);
    std::optional<editing::EipTable> table = editing::openEipAddressTable(doc, sink);
    if (!table)
        return;
    QDialog d(parent);
    d.setWindowTitle(TableDialogs::tr("EIP地址映射"));
    auto* layout = new QVBoxLayout(&d);
    auto* totals = new QFormLayout;
    auto value = [](const char* id, int v) {
        auto* e = new QLineEdit(QString::number(v));
        e->setObjectName(id);
        e->setReadOnly(true);
        return e;
    };
    totals->addRow(TableDialogs::tr("EIP输入总长度"), value("edit1099", table->inputTotal));
    totals->addRow(TableDialogs::tr("EIP输出总长度"), value("edit1100", table->outputTotal));
    totals->addRow(TableDialogs::tr("EIP连接个数"), value("edit1101", table->connectionCount));
    layout->addLayout(totals);
    QTableWidget* connections = tableList(
        "list1031", {TableDialogs::tr("EIP连接"), TableDialogs::tr("输入长度"), TableDialogs::tr("输出长度")},
        {100, 100, 100});
    gui::fillTable(connections, editing::eipConnectionRows(*table));
    layout->addWidget(connections);
    auto* lists = new QHBoxLayout;
    for (bool input : {true, false}) {
        QTableWidget* t = tableList(input ? "list1104" : "list1105",
                                    {TableDialogs::tr("连接"), TableDialogs::tr("EIP地址"),
                                     TableDialogs::tr("网关地址"), TableDialogs::tr("长度")},
                                    {50, 70, 90, 50});
        gui::fillTable(t, editing::eipEntryRows(*table, input));
        t->setMinimumWidth(gui::columnsWidth(t));
        lists->addWidget(titled(input ? "INPUT" : "OUTPUT", t));
    }
    layout->addLayout(lists);
    addCloseRow(d, layout, exportButton(d, startDirectory, [&](const std::string& path, std::string& errors) {
                    return editing::exportEipTable(*table, path, errors);
                }));
    d.resize(640, 720);
    d.exec();
}

bool runEipParamsDialog(QWidget* parent, model::CVantorDoc& doc) {
    editing::EipParamsForm form = editing::EipParamsForm::load(doc);
    QDialog d(parent);
    d.setWindowTitle(TableDialogs::tr("EIP网关参数"));
    auto* layout = new QVBoxLayout(&d);
    struct Row {
        QCheckBox* enable;
        QLineEdit* start;
        QLineEdit* count;
    };
    std::array<Row, 12> rows{};
    for (int half = 0; half < 2; ++half) {
        auto* box = new QGroupBox(half == 0 ? TableDialogs::tr("状态字") : TableDialogs::tr("控制字"));
        auto* grid = new QGridLayout(box);
        grid->addWidget(new QLabel(TableDialogs::tr("起始地址")), 0, 1);
        grid->addWidget(new QLabel(TableDialogs::tr("长度")), 0, 2);
        for (int com = 0; com < 6; ++com) {
            const int g = half * 6 + com;
            auto& f = form.groups[static_cast<std::size_t>(g)];
            Row r{new QCheckBox(TableDialogs::tr("COM%1 使能").arg(com + 1)), new QLineEdit(q(f.start)),
                  new QLineEdit(q(f.count))};
            r.enable->setObjectName(QString("enable%1").arg(g));
            r.start->setObjectName(QString("start%1").arg(g));
            r.count->setObjectName(QString("count%1").arg(g));
            r.enable->setChecked(f.enabled);
            r.start->setEnabled(f.editable);
            r.count->setEnabled(f.editable);
            grid->addWidget(r.enable, com + 1, 0);
            grid->addWidget(r.start, com + 1, 1);
            grid->addWidget(r.count, com + 1, 2);
            QObject::connect(r.enable, &QCheckBox::toggled, &d, [&, g](bool on) {
                form.setEnabled(g, on, doc);
                const auto& field = form.groups[static_cast<std::size_t>(g)];
                rows[static_cast<std::size_t>(g)].start->setText(q(field.start));
                rows[static_cast<std::size_t>(g)].count->setText(q(field.count));
                rows[static_cast<std::size_t>(g)].start->setEnabled(field.editable);
                rows[static_cast<std::size_t>(g)].count->setEnabled(field.editable);
            });
            rows[static_cast<std::size_t>(g)] = r;
        }
        layout->addWidget(box);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(TableDialogs::tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(TableDialogs::tr("取消"));
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &d, [&] {
        for (std::size_t g = 0; g < rows.size(); ++g) {
            form.groups[g].enabled = rows[g].enable->isChecked();
            form.groups[g].start = rows[g].start->text().toStdString();
            form.groups[g].count = rows[g].count->text().toStdString();
        }
        gui::QtMessageSink sink(&d);
        if (form.apply(doc, sink))
            d.accept();
    });
    return d.exec() == QDialog::Accepted;
}

bool runCdtOptionsDialog(QWidget* parent, model::CVantorDoc& doc) {
    editing::CdtOptionsForm form = editing::CdtOptionsForm::load(doc);
    QDialog d(parent);
    d.setWindowTitle(TableDialogs::tr("CDT属性设置"));
    auto* layout = new QFormLayout(&d);
    auto* baud = new QComboBox;
    baud->setObjectName("combo1083");
    for (const char* item : editing::kCdtBaudItems)
        baud->addItem(item);
    baud->setCurrentIndex(form.baudItem);
    auto* parity = new QComboBox;
    parity->setObjectName("combo1084");
    for (const char* item : editing::kCdtParityItems)
        parity->addItem(gui::shown(item));
    parity->setCurrentIndex(form.parityItem);
    auto edit = [](const char* id, const std::string& text) {
        auto* e = new QLineEdit(q(text));
        e->setObjectName(id);
        return e;
    };
    QLineEdit* remote = edit("edit1085", form.remoteStation);
    QLineEdit* gateway = edit("edit1086", form.gatewayStation);
    QLineEdit* telemetry = edit("edit1087", form.telemetryPeriod);
    QLineEdit* telesignal = edit("edit1088", form.telesignalPeriod);
    layout->addRow(TableDialogs::tr("波特率"), baud);
    layout->addRow(TableDialogs::tr("校验位"), parity);
    layout->addRow(TableDialogs::tr("远端CDT站地址"), remote);
    layout->addRow(TableDialogs::tr("网关CDT站地址"), gateway);
    layout->addRow(TableDialogs::tr("遥测模拟量发送周期(ms)"), telemetry);
    layout->addRow(TableDialogs::tr("遥信开关量发送周期(ms)"), telesignal);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(TableDialogs::tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(TableDialogs::tr("取消"));
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &d, [&] {
        form.baudItem = baud->currentIndex();
        form.parityItem = parity->currentIndex();
        form.remoteStation = remote->text().toStdString();
        form.gatewayStation = gateway->text().toStdString();
        form.telemetryPeriod = telemetry->text().toStdString();
        form.telesignalPeriod = telesignal->text().toStdString();
        gui::QtMessageSink sink(&d);
        const bool ok = form.apply(doc, sink);
        // Periods rounded down to multiples of 10 show in the edits.
        telemetry->setText(q(form.telemetryPeriod));
        telesignal->setText(q(form.telesignalPeriod));
        if (ok)
            d.accept();
    });
    return d.exec() == QDialog::Accepted;
}
