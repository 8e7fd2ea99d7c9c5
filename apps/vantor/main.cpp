// Vantor: the gateway configurator.
#include "MainWindow.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("Vantor");
    MainWindow window;
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && !window.openProject(args.at(1)))
        return 1;
    // Fill the screen also where no window manager maximises for us.
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    return QApplication::exec();
}
