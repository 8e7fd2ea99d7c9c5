#pragma once
// VantorNet's main window.
#include <QMainWindow>

class NetMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit NetMainWindow(QWidget* parent = nullptr);
    bool openProject(const QString& path);
};
