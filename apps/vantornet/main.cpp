// VantorNet: the configurator for gateways whose slaves are MODBUS TCP servers.
#include "ChineseTranslations.h"
#include "DataFiles.h"
#include "NetMainWindow.h"
#include "ReadyFile.h"
#include "StartUp.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    if (auto status = vantor::gui::answerInfoOptions(argc, argv, "VantorNet", vantor::gui::kVantorNetHelp))
        return *status;
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("VantorNet");
    vantor::gui::setUpDataFiles();
    vantor::gui::installChineseTranslations(app);
    NetMainWindow window;
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && !window.openProject(args.at(1)))
        return 1;
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    vantor::gui::announceReadyWhenShown(window);
    return QApplication::exec();
}
