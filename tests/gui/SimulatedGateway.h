#pragma once
// vantor-gatewaysim for the window tests: started on ports it chooses
// itself (read back from its port files), with a dump directory of what it
// received, and stopped with the test.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
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
