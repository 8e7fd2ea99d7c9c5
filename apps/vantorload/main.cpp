// VantorLoad: sets a gateway's network settings and the RTU settings of its
// serial ports. The address files are kept in the working directory.
#include "ChineseTranslations.h"
#include "LoadDialog.h"
#include "ReadyFile.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("VantorLoad");
    vantor::gui::installChineseTranslations(app);
    LoadDialog dialog(QDir::currentPath());
    dialog.show();
    vantor::gui::announceReadyWhenShown(dialog);
    return QApplication::exec();
}
