// VantorLoad: sets a gateway's network settings and the RTU settings of its
// serial ports. The address files are kept in the working directory (or the
// per-user data directory when the working directory cannot be written).
#include "DataFiles.h"
#include "Language.h"
#include "LoadDialog.h"
#include "ReadyFile.h"
#include "StartUp.h"

#include <QApplication>

namespace {

const char* const kHelp = "usage: VantorLoad\n"
                          "       VantorLoad --version | --help\n"
                          "\n"
                          "Sets a two-port gateway's IP settings and the RTU settings of its serial\n"
                          "ports. The gateway's address is kept in IP/ip.txt and IP/port.txt in the\n"
                          "current directory, or, when it cannot be written, in the per-user data\n"
                          "directory ($XDG_DATA_HOME/Vantor/VantorLoad, by default\n"
                          "~/.local/share/Vantor/VantorLoad); the window title then names it.\n"
                          "\n";

} // namespace

int main(int argc, char** argv) {
    const auto language = vantor::gui::takeLanguageOption(argc, argv);
    if (language.exitStatus)
        return *language.exitStatus;
    if (auto status = vantor::gui::answerInfoOptions(argc, argv, "VantorLoad", kHelp))
        return *status;
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("VantorLoad");
    vantor::gui::setUpDataFiles();
    vantor::gui::startInLanguage(app, language.language, "vantorload");
    LoadDialog dialog(vantor::gui::workDirectory());
    if (const QString notice = vantor::gui::workDirectoryNotice(); !notice.isEmpty())
        dialog.setWindowTitle(dialog.windowTitle() + " - " + notice);
    dialog.show();
    vantor::gui::announceReadyWhenShown(dialog);
    return QApplication::exec();
}
