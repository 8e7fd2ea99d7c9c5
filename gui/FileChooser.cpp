#include "FileChooser.h"

#include <QFileDialog>

namespace vantor::gui {

namespace {

class DialogFileChooser : public FileChooser {
public:
    QString choose(QWidget* parent, const FileRequest& request) override {
        QFileDialog dialog(parent, request.caption, request.directory, request.filter);
        const bool save = request.mode == FileRequest::Mode::Save;
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!request.defaultSuffix.isEmpty())
            dialog.setDefaultSuffix(request.defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().first();
    }
};

FileChooser* installed = nullptr;

} // namespace

FileChooser& FileChooser::current() {
    static DialogFileChooser dialog;
    return installed ? *installed : dialog;
}

void FileChooser::install(FileChooser* chooser) {
    installed = chooser;
}

QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& directory,
                       const QString& filter) {
    return FileChooser::current().choose(parent, {FileRequest::Mode::Open, caption, directory, filter, {}});
}

QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& directory,
                       const QString& filter, const QString& defaultSuffix) {
    return FileChooser::current().choose(
        parent, {FileRequest::Mode::Save, caption, directory, filter, defaultSuffix});
}

} // namespace vantor::gui
