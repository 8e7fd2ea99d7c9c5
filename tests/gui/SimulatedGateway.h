#pragma once
// vantor-gatewaysim for the window tests: started on ports it chooses
// itself (read back from its port files), with a dump directory of what it
// received, and stopped with the test.
#include "QtMessageSink.h"
#include "ResultBox.h"

#include "common/MessageSink.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

class SimulatedGateway {
public:
    // Starts the simulator for `model` with extra fault switches; check
    // ok() afterwards.
    explicit SimulatedGateway(const QString& model, const QStringList& extra = {}) {
        const QString portFile = dir_.filePath("port");
        const QString modbusFile = dir_.filePath("modbus-port");
        QDir(dir_.path()).mkpath("dump");
        QStringList args{"--model",
                         model,
                         "--port",
                         "0",
                         "--port-file",
                         portFile,
                         "--modbus-port",
                         "0",
                         "--modbus-port-file",
                         modbusFile,
                         "--dump-dir",
                         dump()};
        args << extra;
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(VANTOR_SIM, args);
        if (!process_.waitForStarted(5000))
            return;
        // Both port files appear (atomic renames) once the simulator listens.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(portFile) && QFile::exists(modbusFile), 10000);
        port_ = readPort(portFile);
        modbusPort_ = readPort(modbusFile);
        qputenv("VANTOR_ACCESS_PORT", QByteArray::number(port_));
        qputenv("VANTOR_MODBUS_PORT", QByteArray::number(modbusPort_));
    }
    ~SimulatedGateway() {
        qunsetenv("VANTOR_ACCESS_PORT");
        qunsetenv("VANTOR_MODBUS_PORT");
        process_.kill();
        process_.waitForFinished(5000);
    }

    bool ok() const { return port_ > 0 && modbusPort_ > 0 && process_.state() == QProcess::Running; }
    int port() const { return port_; }
    int modbusPort() const { return modbusPort_; }
    QString dump() const { return dir_.filePath("dump"); }
    // A dumped file's text without its line end, empty when missing.
    QString dumped(const QString& name) const {
        QFile f(QDir(dump()).filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).trimmed();
    }

private:
    static int readPort(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return 0;
        return f.readAll().trimmed().toInt();
    }

    QTemporaryDir dir_;
    QProcess process_;
    int port_ = 0;
    int modbusPort_ = 0;
};

namespace vantor::testing {

// Routes the messages and result boxes of the device windows into the
// test's records (init) and back to real boxes (cleanup).
inline void recordOutputs(RecordingSink& messages, QStringList& results) {
    messages = RecordingSink{};
    results.clear();
    gui::QtMessageSink::redirectTo(&messages);
    gui::ResultBox::redirectTo(&results);
}
inline void stopRecordingOutputs() {
    gui::QtMessageSink::redirectTo(nullptr);
    gui::ResultBox::redirectTo(nullptr);
}

// Saves a picture of `w` when VANTOR_SCREENSHOTS names a folder.
inline void saveShot(QWidget& w, const char* name) {
    const QByteArray dir = qgetenv("VANTOR_SCREENSHOTS");
    if (!dir.isEmpty())
        w.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
}

#ifdef VANTOR_CLI
// What `vantor-cli <args>` prints as "KEY hex" lines: key -> hex; empty when
// the command does not finish.
inline QMap<QString, QString> cliHexLines(const QStringList& args) {
    QProcess cli;
    cli.start(VANTOR_CLI, args);
    if (!cli.waitForFinished(30000))
        return {};
    QMap<QString, QString> out;
    for (const QString& line : QString::fromUtf8(cli.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
        out[line.section(' ', 0, 0)] = line.section(' ', 1);
    return out;
}
#endif

} // namespace vantor::testing
