// VantorLoad: sets a gateway's network settings and the RTU settings of its
// serial ports. The address files are kept in the working directory.
#include "LoadDialog.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("VantorLoad");
    // Qt's own texts (standard buttons) in Chinese, as the rest.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    LoadDialog dialog(QDir::currentPath());
    dialog.show();
    return QApplication::exec();
}
