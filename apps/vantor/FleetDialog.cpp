#include "FleetDialog.h"

#include "DataFiles.h"
#include "ExchangeDriver.h"
#include "FileChooser.h"
#include "QtMessageSink.h"
#include "QtText.h"

#include "common/AtomicFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

using namespace vantor;

// A plan row: the commissioning (when the row can run) and the driver of
// its running exchange.
struct FleetDialog::Row {
    int tableRow = 0;
    std::optional<fleet::GatewayCommission> commission;
    std::unique_ptr<gui::ExchangeDriver> driver;
    std::optional<transfer::FinishedAction> ended; // the driver's end, taken on the next turn
    bool started = false;
};

namespace {
enum Column { kName, kIp, kPort, kProject, kProgress, kStatus, kColumns };
}

FleetDialog::FleetDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("批量下载"));
    setObjectName("fleetDialog");
    resize(860, 480);
    table_ = new QTableWidget(0, kColumns, this);
    table_->setObjectName("fleetTable");
    table_->setHorizontalHeaderLabels({tr("名称"), "IP", tr("端口"), tr("工程文件"), tr("进度"), tr("状态")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    summary_ = new QLabel(this);
    summary_->setObjectName("fleetSummary");
    open_ = new QPushButton(tr("打开计划..."), this);
    open_->setObjectName("fleetOpen");
    start_ = new QPushButton(tr("开始"), this);
    start_->setObjectName("fleetStart");
    stop_ = new QPushButton(tr("停止"), this);
    stop_->setObjectName("fleetStop");
    save_ = new QPushButton(tr("保存报告..."), this);
    save_->setObjectName("fleetSave");
    auto* close = new QPushButton(tr("关闭"), this);
    auto* buttons = new QHBoxLayout;
    for (auto* b : {open_, start_, stop_, save_})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(summary_);
    layout->addLayout(buttons);
    wake_ = new QTimer(this);
    wake_->setSingleShot(true);
    connect(wake_, &QTimer::timeout, this, [this] {
        for (auto& r : rows_)
            advance(*r);
        startMore();
    });
    connect(open_, &QPushButton::clicked, this, &FleetDialog::choosePlan);
    connect(start_, &QPushButton::clicked, this, &FleetDialog::start);
    connect(stop_, &QPushButton::clicked, this, &FleetDialog::stop);
    connect(save_, &QPushButton::clicked, this, &FleetDialog::saveReport);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    updateButtons();
}

FleetDialog::~FleetDialog() {
    // The drivers go before the exchanges they drive.
    for (auto& r : rows_)
        r->driver.reset();
}

void FleetDialog::choosePlan() {
    const QString path = gui::chooseOpenFile(this, tr("打开计划"), QString(), tr("计划 (*.csv *.xlsx)"));
    if (!path.isEmpty())
        loadPlan(path);
}

bool FleetDialog::loadPlan(const QString& path) {
    if (running_)
        return false;
    gui::QtMessageSink sink(this);
    auto plan = fleet::readPlanFile(QFileInfo(path).absoluteFilePath().toStdString());
    if (!plan.error.empty()) {
        sink.error(plan.error);
        return false;
    }
    planPath_ = path;
    refusals_ = plan.refusals;
    rows_.clear();
    const std::string ethOptionDir = gui::dataDirectoryOf("IP/ETHOption.xml").toStdString();
    for (const auto& row : plan.rows) {
        auto r = std::make_unique<Row>();
        auto prepared = fleet::prepareRow(row, ethOptionDir);
        if (prepared.gateway)
            r->commission.emplace(std::move(*prepared.gateway), fleet::CommissionSettings{});
        else
            refusals_.push_back({row.line, row.name, prepared.refusal});
        if (r->commission)
            rows_.push_back(std::move(r));
    }
    fill();
    return true;
}

void FleetDialog::fill() {
    table_->setRowCount(0);
    auto addRow = [this](const QStringList& cells) {
        const int at = table_->rowCount();
        table_->insertRow(at);
        for (int c = 0; c < cells.size(); ++c)
            if (c != kProgress) {
                auto* item = new QTableWidgetItem(cells[c]);
                // A path or a reason longer than its column is read in full here.
                item->setToolTip(cells[c]);
                table_->setItem(at, c, item);
            }
        auto* bar = new QProgressBar;
        bar->setRange(0, 100);
        bar->setValue(0);
        table_->setCellWidget(at, kProgress, bar);
        return at;
    };
    for (auto& r : rows_) {
        const auto& row = r->commission->outcome().row;
        r->tableRow =
            addRow({QString::fromStdString(row.name), QString::fromStdString(row.host),
                    row.port ? QString::number(*row.port) : QString(), QString::fromStdString(row.project),
                    QString(), gui::shown(r->commission->stageText())});
    }
    // The rows that cannot run, with their reason.
    for (const auto& refusal : refusals_)
        addRow({QString::fromStdString(refusal.name), QString(), QString(), QString(), QString(),
                gui::shown(fleet::refusalLine(refusal))});
    summary_->setText(tr("%1个网关, %2行不能执行").arg(rows_.size()).arg(refusals_.size()));
    updateButtons();
}

void FleetDialog::start() {
    if (running_ || rows_.empty())
        return;
    // A second start runs the plan again from its first row.
    if (next_ > 0 && !loadPlan(planPath_))
        return;
    running_ = true;
    stopping_ = false;
    next_ = 0;
    clock_.start();
    startMore();
    updateButtons();
}

void FleetDialog::startMore() {
    if (!running_)
        return;
    auto busy = std::count_if(rows_.begin(), rows_.end(),
                              [](const auto& r) { return r->started && !r->commission->done(); });
    while (!stopping_ && busy < kParallel && next_ < rows_.size()) {
        Row& r = *rows_[next_++];
        r.started = true;
        r.commission->start(now());
        ++busy;
        advance(r);
    }
    armWake();
    const bool allDone =
        std::all_of(rows_.begin(), rows_.end(), [](const auto& r) { return r->commission->done(); });
    if (allDone) {
        running_ = false;
        elapsedMs_ = now();
        summary_->setText(gui::shown(fleet::fleetSummaryText(run())));
        updateButtons();
        emit runFinished();
    }
}

void FleetDialog::attach(Row& row) {
    auto& c = *row.commission;
    row.driver = std::make_unique<gui::ExchangeDriver>(*c.current());
    auto* driver = row.driver.get();
    connect(driver, &gui::ExchangeDriver::message, this, [&c](const Message& m, bool) { c.message(m); });
    connect(driver, &gui::ExchangeDriver::eventHandled, this, [this, &row, driver] {
        // A button press (VantorNet's 下载) or the end of the state polling;
        // its actions are carried out at once. A pump from here is not
        // reported back here, so what it led to is looked at in this loop.
        while (!driver->isFinished()) {
            row.commission->afterEvent();
            if (!driver->exchange().hasActions())
                return;
            driver->pump();
        }
        if (!row.ended) {
            row.ended = *driver->result();
            // The driver is deleted on the next turn, outside its own call.
            QTimer::singleShot(0, this, [this, &row] {
                advance(row);
                startMore();
            });
        }
    });
    driver->start();
}

void FleetDialog::advance(Row& row) {
    auto& c = *row.commission;
    if (row.ended) {
        const auto result = *std::exchange(row.ended, std::nullopt);
        row.driver.reset();
        if (stopping_)
            c.stop(now());
        else
            c.currentEnded(result, now());
    }
    if (!row.driver && c.wakeAt()) {
        if (stopping_)
            c.stop(now());
        else
            c.advanceTo(now());
    }
    if (!row.driver && c.current() && !c.done())
        attach(row);
    showRow(row);
}

void FleetDialog::armWake() {
    std::optional<int64_t> next;
    for (const auto& r : rows_)
        if (const auto at = r->commission->wakeAt())
            next = std::min(next.value_or(*at), *at);
    if (next)
        wake_->start(static_cast<int>(std::max<int64_t>(0, *next - now())));
}

void FleetDialog::showRow(const Row& row) {
    const auto& c = *row.commission;
    QTableWidgetItem* status = table_->item(row.tableRow, kStatus);
    status->setText(gui::shown(c.stageText()));
    status->setToolTip(status->text());
    if (auto* bar = qobject_cast<QProgressBar*>(table_->cellWidget(row.tableRow, kProgress)))
        bar->setValue(c.percent());
}

void FleetDialog::stop() {
    if (!running_)
        return;
    stopping_ = true;
    for (auto& r : rows_) {
        if (r->driver && !r->driver->isFinished())
            r->driver->cancel(); // ends on the next turn, as any end does
        else if (!r->driver && !r->commission->done()) {
            r->commission->stop(now());
            showRow(*r);
        }
    }
    startMore();
}

fleet::FleetRun FleetDialog::run() const {
    fleet::FleetRun out;
    out.planName = QFileInfo(planPath_).fileName().toStdString();
    out.generatedAt = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString();
    out.elapsedMs = running_ ? now() : elapsedMs_;
    out.refusals = refusals_;
    for (const auto& r : rows_)
        out.gateways.push_back(r->commission->outcome());
    return out;
}

void FleetDialog::saveReport() {
    const QString path = gui::chooseSaveFile(this, tr("保存报告"), QString(), "HTML (*.html)", "html");
    if (path.isEmpty())
        return;
    std::string error;
    if (!writeFileAtomically(path.toStdString(), fleet::fleetReport(run()), &error))
        gui::QtMessageSink(this).error(error);
}

void FleetDialog::updateButtons() {
    open_->setEnabled(!running_);
    start_->setEnabled(!running_ && !rows_.empty());
    stop_->setEnabled(running_);
    save_->setEnabled(!running_ && next_ > 0);
}
