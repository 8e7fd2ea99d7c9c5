// VantorNet: the configurator for gateways whose slaves are MODBUS TCP servers.
#include "DataFiles.h"
#include "Language.h"
#include "NetMainWindow.h"
#include "ReadyFile.h"
#include "StartUp.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    const auto language = vantor::gui::takeLanguageOption(argc, argv);
    if (language.exitStatus)
        return *language.exitStatus;
    if (auto status = vantor::gui::answerInfoOptions(argc, argv, "VantorNet", vantor::gui::kVantorNetHelp))
        return *status;
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("VantorNet");
    vantor::gui::setUpDataFiles();
    vantor::gui::startInLanguage(app, language.language, "vantornet");
    NetMainWindow window;
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && !window.openProject(args.at(1)))
        return 1;
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    vantor::gui::announceReadyWhenShown(window);
    return QApplication::exec();
}
