// Vantor: the gateway configurator.
#include "ChineseTranslations.h"
#include "MainWindow.h"
#include "ReadyFile.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("Vantor");
    vantor::gui::installChineseTranslations(app);
    MainWindow window;
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && !window.openProject(args.at(1)))
        return 1;
    // Fill the screen also where no window manager maximises for us.
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    vantor::gui::announceReadyWhenShown(window);
    return QApplication::exec();
}
