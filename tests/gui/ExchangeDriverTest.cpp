// The exchange driver against a scripted peer (QTcpServer in the test):
// every action reaches the socket or a timer, every socket event reaches
// the exchange, in order; timers carry their tokens; a close hands over
// the last request; the peer's close and a refused connection are told.
#include "ExchangeDriver.h"

#include "transfer/CommandFrame.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using namespace vantor;
using namespace vantor::transfer;

namespace {

// A small exchange that records what reaches it and does what the test
// tells it after each event.
class ScriptedExchange : public Exchange {
public:
    explicit ScriptedExchange(int port) : Exchange(Framing::Command), port_(port) {}
    void start() override { beginConnect("127.0.0.1", port_); }

    std::vector<std::string> events;
    std::function<void(ScriptedExchange&)> onConnect;
    std::function<void(ScriptedExchange&, ByteView)> onFrame;
    std::function<void(ScriptedExchange&, int)> onTime;

    using Exchange::closeSocket;
    using Exchange::finish;
    using Exchange::progress;
    using Exchange::send;
    using Exchange::showError;
    using Exchange::startTimer;
    using Exchange::status;
    using Exchange::stopTimer;

protected:
    void onConnected() override {
        events.push_back("connected");
        if (onConnect)
            onConnect(*this);
    }
    void onReply(ByteView frame) override {
        events.push_back("reply " + toHex(frame));
        if (onFrame)
            onFrame(*this, frame);
    }
    void onTimer(int id) override {
        events.push_back("timer " + std::to_string(id));
        if (onTime)
            onTime(*this, id);
    }
    void onClosedByPeer() override {
        events.push_back("closed by peer");
        Exchange::onClosedByPeer();
    }

private:
    int port_;
};

} // namespace

class ExchangeDriverTest : public QObject {
    Q_OBJECT

    QTcpServer server_;
    QTcpSocket* peer_ = nullptr;

    void listen() {
        QVERIFY(server_.listen(QHostAddress::LocalHost));
        connect(&server_, &QTcpServer::newConnection, this,
                [this] { peer_ = server_.nextPendingConnection(); });
    }

private slots:
    void init() { peer_ = nullptr; }
    void cleanup() {
        delete peer_;
        peer_ = nullptr;
        server_.close();
        server_.disconnect(this);
    }

    void requestReplyAndTimers() {
        listen();
        ScriptedExchange ex(server_.serverPort());
        ex.onConnect = [](ScriptedExchange& e) {
            e.send(bareRequest(command::kDeviceState));
            e.startTimer(4, 5000);
            e.startTimer(7, 10); // fires
            e.startTimer(8, 10);
            e.stopTimer(8); // never fires
        };
        ex.onFrame = [](ScriptedExchange& e, ByteView) {
            e.stopTimer(4);
            e.status("done");
            e.progress(0, 10, 10);
            e.finish(true, "ok");
        };
        gui::ExchangeDriver driver(ex);
        QSignalSpy statuses(&driver, &gui::ExchangeDriver::statusChanged);
        QSignalSpy progress(&driver, &gui::ExchangeDriver::progressChanged);
        QSignalSpy finished(&driver, &gui::ExchangeDriver::finished);
        driver.start();
        QCOMPARE(statuses.size(), 1);
        QCOMPARE(statuses.at(0).at(0).toString(),
                 QString("正在连接127.0.0.1:%1...").arg(server_.serverPort()));
        QTRY_VERIFY_WITH_TIMEOUT(peer_ && peer_->bytesAvailable() >= 8, 5000);
        QCOMPARE(peer_->readAll().toHex(), QByteArray("0100000000000000"));
        QTRY_VERIFY_WITH_TIMEOUT(std::find(ex.events.begin(), ex.events.end(), "timer 7") != ex.events.end(),
                                 5000);
        peer_->write(QByteArray::fromHex("0100000000000000aa"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 5000);
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        QCOMPARE(finished.at(0).at(1).toString(), QString("ok"));
        QCOMPARE(statuses.last().at(0).toString(), QString("done"));
        QCOMPARE(progress.last().at(2).toInt(), 10);
        QCOMPARE(ex.events, (std::vector<std::string>{"connected", "timer 7", "reply 0100000000000000aa"}));
        QVERIFY(driver.isFinished());
        // One line per frame and connection event.
        QString log;
        for (const auto& line : driver.wireLog())
            log += QString::fromStdString(line) + '\n';
        QVERIFY(log.contains("> [8] 01 00 00 00 00 00 00 00"));
        QVERIFY(log.contains("< [9] 01 00 00 00 00 00 00 00 aa"));
        QVERIFY(log.contains("connect 127.0.0.1:"));
    }

    void closeHandsOverTheLastRequest() {
        listen();
        ScriptedExchange ex(server_.serverPort());
        ex.onConnect = [](ScriptedExchange& e) {
            Bytes big(20000, 0x5A); // more than one write's worth
            e.send(big, false);
            e.send(bareRequest(command::kRestart), false);
            e.finish(true, "sent");
        };
        gui::ExchangeDriver driver(ex);
        driver.start();
        QTRY_VERIFY_WITH_TIMEOUT(driver.isFinished(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(peer_ && peer_->bytesAvailable() >= 20008, 5000);
        QByteArray got = peer_->readAll();
        QCOMPARE(got.size(), 20008);
        QCOMPARE(got.right(8).toHex(), QByteArray("0200000000000000"));
    }

    void peerCloseAndMessages() {
        listen();
        ScriptedExchange ex(server_.serverPort());
        ex.onConnect = [](ScriptedExchange& e) { e.send(bareRequest(command::kDeviceState)); };
        gui::ExchangeDriver driver(ex);
        QSignalSpy messages(&driver, &gui::ExchangeDriver::message);
        driver.start();
        QTRY_VERIFY_WITH_TIMEOUT(peer_ && peer_->bytesAvailable() >= 8, 5000);
        peer_->disconnectFromHost();
        QTRY_VERIFY_WITH_TIMEOUT(
            std::find(ex.events.begin(), ex.events.end(), "closed by peer") != ex.events.end(), 5000);
        QVERIFY(!driver.isFinished());
        // A message while the exchange goes on is not an ending one.
        ex.showError("x");
        driver.pump();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.at(0).at(1).toBool(), false);
        ex.showError("y");
        ex.finish(false, {});
        driver.pump();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.at(1).at(1).toBool(), true);
    }

    void refusedConnection() {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const int port = closed.serverPort();
        closed.close();
        ScriptedExchange ex(port);
        gui::ExchangeDriver driver(ex);
        QSignalSpy messages(&driver, &gui::ExchangeDriver::message);
        driver.start();
        QTRY_VERIFY_WITH_TIMEOUT(driver.isFinished(), 5000);
        QCOMPARE(messages.size(), 1);
        const auto m = messages.at(0).at(0).value<Message>();
        QCOMPARE(m.text, "连接127.0.0.1:" + std::to_string(port) + "失败,请检查设备的网络参数和网络连接");
        QVERIFY(ex.events.empty());
    }

    // A window that pumps from its eventHandled handler (to carry out what
    // the handler queued) is not called back from within its own pump.
    void pumpFromTheHandlerDoesNotRecurse() {
        listen();
        ScriptedExchange ex(server_.serverPort());
        ex.onConnect = [](ScriptedExchange& e) { e.send(bareRequest(command::kDeviceState)); };
        gui::ExchangeDriver driver(ex);
        int depth = 0, deepest = 0;
        connect(&driver, &gui::ExchangeDriver::eventHandled, this, [&] {
            deepest = std::max(deepest, ++depth);
            driver.pump();
            --depth;
        });
        driver.start();
        QTRY_VERIFY_WITH_TIMEOUT(peer_ && peer_->bytesAvailable() >= 8, 5000);
        QCOMPARE(deepest, 1);
        driver.cancel();
    }

    void cancelEndsWithoutResult() {
        listen();
        ScriptedExchange ex(server_.serverPort());
        ex.onConnect = [](ScriptedExchange& e) {
            e.send(bareRequest(command::kDeviceState));
            e.startTimer(4, 50);
        };
        gui::ExchangeDriver driver(ex);
        driver.start();
        QTRY_VERIFY_WITH_TIMEOUT(peer_ && peer_->bytesAvailable() >= 8, 5000);
        driver.cancel();
        QVERIFY(driver.isFinished());
        QVERIFY(!driver.result()->success);
        QTRY_COMPARE_WITH_TIMEOUT(peer_->state(), QAbstractSocket::UnconnectedState, 5000);
        // The stopped reply timer never reaches the exchange: a marker timer
        // due well after it fires first (due timers fire in order).
        QTimer marker;
        marker.setSingleShot(true);
        QSignalSpy markerFired(&marker, &QTimer::timeout);
        marker.start(200);
        QVERIFY(markerFired.wait(5000));
        QCOMPARE(ex.events, std::vector<std::string>{"connected"});
    }
};

QTEST_MAIN(ExchangeDriverTest)
#include "ExchangeDriverTest.moc"
