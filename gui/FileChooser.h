#pragma once
// The one way a window asks the user for a file path (open, save as,
// export, firmware, picture). The programs answer through a file dialog;
// tests install a chooser of their own that answers at once, so no test
// waits on a real file dialog.
#include <QString>

class QWidget;

namespace vantor::gui {

struct FileRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString caption;
    QString directory; // starting directory or proposed path
    QString filter;    // "Name (*.ext);;..." as a file dialog takes it
    QString defaultSuffix;
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen path, empty when the user cancelled.
    virtual QString choose(QWidget* parent, const FileRequest& request) = 0;

    // The chooser windows use: the installed one, else the file dialog.
    static FileChooser& current();
    // While set, every request goes to `chooser` (null restores the dialog).
    static void install(FileChooser* chooser);
};

// Shorthands over FileChooser::current().
QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& directory,
                       const QString& filter);
QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& directory,
                       const QString& filter, const QString& defaultSuffix);

} // namespace vantor::gui
