#include "NetMainWindow.h"

NetMainWindow::NetMainWindow(QWidget* parent) : QMainWindow(parent) { setWindowTitle("VantorNet"); }

bool NetMainWindow::openProject(const QString&) { return false; }
