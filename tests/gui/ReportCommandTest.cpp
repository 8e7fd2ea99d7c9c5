// 设备 → 调试报告: the file comes from the chooser, the gateway is asked only
// after a Yes, the report is written as HTML or PDF.
#include "GuiTestSupport.h"
#include "MainWindow.h"
#include "QtMessageSink.h"

#include <QAction>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

class ReportCommandTest : public QObject {
    Q_OBJECT

    static QByteArray readAll(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void writesTheReportWhereTheUserChose() {
        QTemporaryDir dir;
        // A port nobody listens on: taken, then given back.
        quint16 closedPort = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            closedPort = probe.serverPort();
        }
        struct Case {
            const char* name;
            QString file; // empty: the chooser is cancelled
            bool askGateway;
            QByteArray expected; // start of the file, or a text in it
        } cases[] = {
            {"html, offline", dir.filePath("a.html"), false, "未读取网关信息"},
            {"html, gateway gone", dir.filePath("b.html"), true, "未能读取网关信息 127.0.0.1"},
            {"pdf", dir.filePath("c.pdf"), false, "%PDF"},
            {"cancelled", QString(), false, QByteArray()},
        };
        for (const auto& c : cases) {
            vantor::testing::ScriptedChooser chooser(c.file.isEmpty() ? QStringList{} : QStringList{c.file});
            vantor::RecordingSink sink;
            sink.answers.push_back(c.askGateway);
            vantor::gui::QtMessageSink::redirectTo(&sink);
            MainWindow w;
            QVERIFY(w.openProject("demo.vtc"));
            w.document().IP = "127.0.0.1";
            w.document().accessPort = closedPort;
            auto* report = w.findChild<QAction*>("commandReport");
            QVERIFY2(report, c.name);
            report->trigger();
            vantor::gui::QtMessageSink::redirectTo(nullptr);

            QCOMPARE(chooser.requests.size(), std::size_t(1));
            QCOMPARE(chooser.requests[0].mode, vantor::gui::FileRequest::Mode::Save);
            if (c.file.isEmpty()) {
                QVERIFY2(sink.messages.empty(), c.name);
                QCOMPARE(QDir(dir.path()).entryList({"*.html"}, QDir::Files).size(), 2);
                continue;
            }
            QCOMPARE(sink.messages.size(), std::size_t(1)); // the question only
            QCOMPARE(sink.messages[0].kind, vantor::MessageKind::Question);
            const QByteArray bytes = readAll(c.file);
            QVERIFY2(c.file.endsWith(".pdf") ? bytes.startsWith(c.expected) : bytes.contains(c.expected),
                     c.name);
            if (c.file.endsWith(".html"))
                QVERIFY2(bytes.contains("<td>温度采集器</td>"), c.name);
        }
    }

    // Choosing the project's own file refuses, and the project stays.
    void neverWritesOverTheProject() {
        QTemporaryDir dir;
        const QString project = dir.filePath("own.vtc");
        QVERIFY(QFile::copy("demo.vtc", project));
        const QByteArray before = readAll(project);
        vantor::testing::ScriptedChooser chooser({project});
        vantor::RecordingSink sink;
        vantor::gui::QtMessageSink::redirectTo(&sink);
        MainWindow w;
        QVERIFY(w.openProject(project));
        w.findChild<QAction*>("commandReport")->trigger();
        vantor::gui::QtMessageSink::redirectTo(nullptr);
        QCOMPARE(sink.messages.size(), std::size_t(1));
        QCOMPARE(sink.messages[0].text, std::string("调试报告不能覆盖工程文件"));
        QCOMPARE(readAll(project), before);
    }
};

QTEST_MAIN(ReportCommandTest)
#include "ReportCommandTest.moc"
