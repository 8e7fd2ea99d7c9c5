#include "DeviceDialog.h"

#include "ConnectingBox.h"
#include "QtMessageSink.h"
#include "QtText.h"
#include "ResultBox.h"
#include "WireLogBox.h"

#include <QLabel>
#include <QProgressBar>

using namespace vantor;

DeviceDialog::DeviceDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
}

QProgressBar* DeviceDialog::newProgressBar(int maximum) {
    auto* bar = new QProgressBar(this);
    bar->setObjectName("progress");
    bar->setRange(0, maximum);
    bar->setValue(0);
    return bar;
}

DeviceDialog::~DeviceDialog() {
    // The driver goes before the exchange the subclass owns.
    delete driver_;
    driver_ = nullptr;
}

QString DeviceDialog::resultText() const {
    if (!exchangeFinished())
        return {};
    return gui::shown(driver_->result()->resultText);
}

void DeviceDialog::runExchange(transfer::Exchange& exchange, bool withBox) {
    delete driver_;
    endMessages_.clear();
    driver_ = new gui::ExchangeDriver(exchange, this);
    if (withBox && !box_)
        box_ = new gui::ConnectingBox(this);
    boxStarted_ = false;
    connect(driver_, &gui::ExchangeDriver::statusChanged, this, [this, withBox](const QString& text) {
        // The first status text ("正在连接...") opens the connecting box.
        if (withBox && !boxStarted_) {
            boxStarted_ = true;
            box_->begin(text);
        } else if (box_ && box_->isVisible()) {
            box_->setText(text);
        }
        onStatus(text);
    });
    connect(driver_, &gui::ExchangeDriver::progressChanged, this,
            [this](int minimum, int maximum, int position) { onProgress(minimum, maximum, position); });
    connect(driver_, &gui::ExchangeDriver::connected, this, [this] {
        if (box_)
            box_->end();
        onConnectedToGateway();
    });
    connect(driver_, &gui::ExchangeDriver::message, this, [this](const Message& m, bool ending) {
        if (ending) {
            endMessages_.push_back(m);
            return;
        }
        gui::QtMessageSink sink(this);
        if (m.kind == MessageKind::Information)
            sink.information(m.caption, m.text);
        else
            sink.error(m.caption, m.text);
    });
    connect(driver_, &gui::ExchangeDriver::finished, this, [this](bool success, const QString& text) {
        if (box_)
            box_->end();
        onExchangeFinished(success, text);
    });
    connect(driver_, &gui::ExchangeDriver::eventHandled, this, [this] { onEventHandled(); });
    driver_->start();
}

QString DeviceDialog::statusText() const {
    return statusLabel_ ? statusLabel_->text() : QString();
}

void DeviceDialog::onStatus(const QString& text) {
    if (statusLabel_)
        statusLabel_->setText(text);
}

void DeviceDialog::onProgress(int minimum, int maximum, int position) {
    if (progressBar_) {
        progressBar_->setRange(minimum, maximum);
        progressBar_->setValue(position);
    }
}

void DeviceDialog::onExchangeFinished(bool success, const QString&) {
    done(success ? Accepted : Rejected);
}

bool DeviceDialog::endedWith(const std::string& text) const {
    for (const auto& m : endMessages_)
        if (m.text == text)
            return true;
    return false;
}

void DeviceDialog::reject() {
    if (driver_ && !driver_->isFinished()) {
        // The socket goes with the window; the exchange ends without a
        // result. Its end must not close the window a second time.
        driver_->disconnect(this);
        driver_->cancel();
    }
    if (box_)
        box_->end();
    QDialog::reject();
}

void DeviceDialog::showOutcome(QWidget* parent) {
    gui::QtMessageSink sink(parent);
    for (const auto& m : endMessages_) {
        if (m.kind == MessageKind::Information)
            sink.information(m.caption, m.text);
        else
            sink.error(m.caption, m.text);
    }
    const QString text = resultText();
    if (!text.isEmpty())
        gui::ResultBox::showResult(parent, text);
}

void DeviceDialog::showEndMessagesNow() {
    gui::QtMessageSink sink(this);
    const auto messages = std::move(endMessages_);
    endMessages_.clear();
    for (const auto& m : messages) {
        if (m.kind == MessageKind::Information)
            sink.information(m.caption, m.text);
        else
            sink.error(m.caption, m.text);
    }
}

void DeviceDialog::showWireLog() {
    gui::showWireLog(this, driver_ ? driver_->wireLog() : std::vector<std::string>());
}
