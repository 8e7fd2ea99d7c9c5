#include "NetDeviceCommands.h"

#include "QtMessageSink.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QStatusBar>

#if __has_include("NetDownloadDialog.h")
#include "NetDownloadDialog.h"
#define VANTORNET_HAS_DOWNLOAD_WINDOW 1
#endif
#if __has_include("NetIpSetDialog.h")
#include "NetIpSetDialog.h"
#define VANTORNET_HAS_IPSET_WINDOW 1
#endif

using namespace vantor;

namespace {
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(NetDeviceCommands)
};
} // namespace

std::optional<net::NetImages> runNetCompileCommand(QMainWindow* window, const net::CVantorNetDoc& doc) {
    gui::QtMessageSink sink(window);
    std::optional<net::NetImages> images = net::compileNet(doc, sink);
    if (images)
        window->statusBar()->showMessage(Texts::tr("编译完成: RTU接口配置 %1 字节, FIELDBUS操作配置 %2 字节")
                                             .arg(images->a.size())
                                             .arg(images->b.size()));
    return images;
}

void runNetDownloadCommand(QMainWindow* window, net::CVantorNetDoc& doc, bool compiled) {
    gui::QtMessageSink sink(window);
    if (!net::confirmEmptyServers(doc, sink))
        return;
    // The window downloads the images of the project as it is: a project the
    // compile checks refuse would give images the gateway cannot hold.
    if (!compiled && !net::checkNetCompile(doc, sink))
        return;
#ifdef VANTORNET_HAS_DOWNLOAD_WINDOW
    NetDownloadDialog dialog(doc, window);
    dialog.exec();
#else
    window->statusBar()->showMessage(Texts::tr("配置下载窗口未安装"));
#endif
}

void runNetIpSetCommand(QMainWindow* window, net::CVantorNetDoc& doc) {
#ifdef VANTORNET_HAS_IPSET_WINDOW
    if (!NetIpSetDialog::mayOpen(window))
        return;
    NetIpSetDialog dialog(window, &doc.rev_allow);
    dialog.exec();
#else
    window->statusBar()->showMessage(Texts::tr("TCP/IP值修改窗口未安装"));
#endif
}
