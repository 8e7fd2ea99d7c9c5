// Vantor: the gateway configurator.
#include "DataFiles.h"
#include "Language.h"
#include "MainWindow.h"
#include "ReadyFile.h"
#include "StartUp.h"
#include "model/GatewayCatalogue.h"

#include <QApplication>
#include <QScreen>

namespace {

const char* const kHelp = "usage: Vantor [FILE.vtc]\n"
                          "       Vantor --check-data | --version | --help\n"
                          "\n"
                          "Configures protocol gateways: opens the project FILE.vtc, or starts with a\n"
                          "new project.\n"
                          "\n"
                          "The pictures (BITMAP/), help pages (Help/), Vantor.ver and IP/ETHOption.xml\n"
                          "are read from the current directory, else from the installed data directory\n"
                          "(<prefix>/share/vantor beside the program). IP/ETHOption.xml and exports are\n"
                          "written to the current directory, or, when it cannot be written, to the\n"
                          "per-user data directory ($XDG_DATA_HOME/Vantor/Vantor, by default\n"
                          "~/.local/share/Vantor/Vantor); the status bar then says so.\n"
                          "\n"
                          "The environment variables VANTOR_ACCESS_PORT and VANTOR_MODBUS_PORT replace\n"
                          "the gateway ports 5032 and 502.\n"
                          "\n"
                          "  --check-data  print where each data file is found (and each picture's\n"
                          "                size) and where files are written; exit 1 when one is\n"
                          "                missing\n";

// Every picture the project drawing can show, and the other shipped files.
QStringList dataFilesToCheck() {
    QStringList files = {"Vantor.ver",         "IP/ETHOption.xml", "Help/index.html",
                         "Help/index_en.html", "busy.gif",         "BITMAP/slave.bmp"};
    for (const auto& m : vantor::model::gatewayModels())
        files << "BITMAP/" + QString::fromUtf8(m.name.data(), static_cast<qsizetype>(m.name.size())) + ".bmp";
    return files;
}

} // namespace

int main(int argc, char** argv) {
    const auto language = vantor::gui::takeLanguageOption(argc, argv);
    if (language.exitStatus)
        return *language.exitStatus;
    if (auto status = vantor::gui::answerInfoOptions(argc, argv, "Vantor", kHelp))
        return *status;
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("Vantor");
    vantor::gui::setUpDataFiles();
    const QStringList args = QApplication::arguments();
    if (args.size() == 2 && args.at(1) == "--check-data")
        return vantor::gui::checkDataFiles(dataFilesToCheck());
    vantor::gui::startInLanguage(app, language.language, "vantor");
    MainWindow window;
    if (args.size() > 1 && !window.openProject(args.at(1)))
        return 1;
    // Fill the screen also where no window manager maximises for us.
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    vantor::gui::announceReadyWhenShown(window);
    return QApplication::exec();
}
