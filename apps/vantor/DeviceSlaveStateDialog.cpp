#include "DeviceSlaveStateDialog.h"

#include "DeviceCommands.h"
#include "DeviceControlWordDialog.h"
#include "QtMessageSink.h"
#include "QtText.h"
#include "SlaveHealthPanel.h"
#include "TableList.h"
#include "editing/VantorCommand.h"

#include "model/GatewayCatalogue.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using namespace vantor;

DeviceSlaveStateDialog::DeviceSlaveStateDialog(QWidget* parent, const std::string& model,
                                               const services::SlaveStateSettings& settings,
                                               const model::CVantorDoc* project)
    : DeviceDialog(parent), settings_(settings) {
    setObjectName("dialogSlaveState");
    setWindowTitle(tr("从站状态"));
    exchange_ = std::make_unique<services::SlaveStateExchange>(model, settings);

    list_ = new QTableWidget(services::SlaveStateExchange::kRowCount, 6, this);
    list_->setObjectName("list1077");
    const QStringList labels{"COM",        tr("从站地址"),   tr("控制字地址"),
                             tr("控制字"), tr("状态字地址"), tr("状态字")};
    const int widths[] = {50, 80, 85, 70, 85, 70};
    list_->setHorizontalHeaderLabels(labels);
    for (int c = 0; c < 6; ++c) {
        list_->setColumnWidth(c, widths[c]);
        list_->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignCenter);
    }
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(15);
    list_->horizontalHeader()->setStretchLastSection(true);
    QFont font = list_->font();
    font.setPixelSize(13);
    list_->setFont(font);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->setStyleSheet("QTableWidget { background-color: rgb(240, 247, 233); }");
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    int width = 0;
    for (int w : widths)
        width += w;
    gui::fitColumnsToTitles(list_);
    list_->setMinimumSize(std::max(width + 24, gui::columnsWidth(list_)), 15 * 16);
    connect(list_, &QTableWidget::customContextMenuRequested, this, &DeviceSlaveStateDialog::contextMenu);
    connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openControlWord(row); });

    auto* control = new QLabel(gui::shown(services::controlWordDescription(model)), this);
    control->setObjectName("controlText");
    auto* state = new QLabel(gui::shown(services::stateWordDescription(model)), this);
    state->setObjectName("stateText");
    staleNote_ = new QLabel(this);
    staleNote_->setObjectName("staleNote");
    staleNote_->setStyleSheet("color: rgb(160, 0, 0);");
    staleNote_->hide();
    auto* log = new QPushButton(tr("通信记录"), this);
    auto* close = new QPushButton(tr("关闭"), this);
    connect(log, &QPushButton::clicked, this, &DeviceSlaveStateDialog::showWireLog);
    connect(close, &QPushButton::clicked, this, &DeviceSlaveStateDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(log);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* listPage = new QWidget(this);
    auto* listLayout = new QVBoxLayout(listPage);
    listLayout->addWidget(control);
    listLayout->addWidget(state);
    listLayout->addWidget(list_, 1);
    health_ = new SlaveHealthPanel(this, services::usesStatusLayout(model));
    if (project)
        health_->setProject(*project);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("slaveStateTabs");
    tabs_->addTab(listPage, tr("从站列表"));
    tabs_->addTab(health_, tr("通信诊断"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(staleNote_);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
    resize(std::max(sizeHint().width(), 640), 680);
}

void DeviceSlaveStateDialog::showHealthTab() {
    tabs_->setCurrentWidget(health_);
}

void DeviceSlaveStateDialog::start() {
    clock_.start();
    runExchange(*exchange_, true);
}

void DeviceSlaveStateDialog::onEventHandled() {
    if (exchange_->cycles() != shownCycles_)
        showRows();
}

void DeviceSlaveStateDialog::onExchangeFinished(bool success, const QString& resultText) {
    if (!connected_ || endedWith(services::SlaveStateExchange::kModelMismatch) ||
        endedWith(transfer::Exchange::kSendFailed)) {
        // No connection, another gateway, or a request that could not be
        // sent: polling is over, the window goes and the message follows.
        DeviceDialog::onExchangeFinished(success, resultText);
        return;
    }
    // Polling stopped (no reply, say): the list keeps what it showed, marked
    // as no longer the gateway's present values.
    if (exchange_->rowsStale())
        markRowsStale();
    showEndMessagesNow();
}

void DeviceSlaveStateDialog::markRowsStale() {
    const QColor grey(128, 128, 128);
    for (int r = 0; r < list_->rowCount(); ++r)
        for (int c = 0; c < list_->columnCount(); ++c)
            if (QTableWidgetItem* item = list_->item(r, c))
                item->setForeground(grey);
    staleNote_->setText(
        gui::shown(services::SlaveStateExchange::staleNote(lastRead_.toString("HH:mm:ss").toStdString())));
    staleNote_->show();
}

void DeviceSlaveStateDialog::showRows() {
    shownCycles_ = exchange_->cycles();
    lastRead_ = QTime::currentTime();
    health_->addCycle(clock_.elapsed(), services::samplesOf(*exchange_));
    const auto& rows = exchange_->rows();
    for (int r = 0; r < static_cast<int>(rows.size()) && r < list_->rowCount(); ++r) {
        for (int c = 0; c < 6; ++c) {
            const QString text =
                gui::shown(rows[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(c)]);
            QTableWidgetItem* item = list_->item(r, c);
            if (!item) {
                if (text.isEmpty())
                    continue;
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignCenter);
                list_->setItem(r, c, item);
            }
            if (item->text() != text)
                item->setText(text);
        }
    }
}

void DeviceSlaveStateDialog::contextMenu(const QPoint& at) {
    const int row = list_->rowAt(at.y());
    if (row < 0 || row >= static_cast<int>(exchange_->rows().size()) ||
        exchange_->rows()[static_cast<std::size_t>(row)].empty())
        return;
    QMenu menu(this);
    QAction* set = menu.addAction(tr("设置控制字"));
    set->setObjectName(QString("command%1").arg(static_cast<int>(editing::VantorCommand::SetControlWord)));
    if (menu.exec(list_->viewport()->mapToGlobal(at)) == set)
        openControlWord(row);
}

void DeviceSlaveStateDialog::openControlWord(int row) {
    const auto& rows = exchange_->rows();
    if (row < 0 || row >= static_cast<int>(rows.size()) || rows[static_cast<std::size_t>(row)].empty())
        return;
    const auto& r = rows[static_cast<std::size_t>(row)];
    services::ControlWordSettings settings{settings_.host, settings_.port};
    // Polling goes on while the window is open; the list shows the new word
    // at its next refresh.
    DeviceControlWordDialog dialog(this, settings, r.controlAddress, r.control);
    dialog.exec();
    dialog.showOutcome(this);
}

void runSlaveStateCommand(QWidget* parent, model::CVantorDoc& doc, bool healthFirst) {
    if (!doc.hasMaster()) {
        gui::QtMessageSink(parent).error(model::kNoGateway);
        return;
    }
    if (!model::gatewayModel(doc.modelName()).has(model::FeatureSlaveState))
        return; // not for the EtherNet/IP gateway
    DeviceSlaveStateDialog dialog(parent, doc.modelName(), {doc.IP, modbusPort()}, &doc);
    if (healthFirst)
        dialog.showHealthTab();
    QTimer::singleShot(0, &dialog, &DeviceSlaveStateDialog::start);
    dialog.exec();
    dialog.showOutcome(parent);
}
