#include "QtMessageSink.h"

#include "QtText.h"

#include <QMessageBox>

namespace vantor::gui {
namespace {
MessageSink* redirect = nullptr;
} // namespace

void QtMessageSink::redirectTo(MessageSink* sink) {
    redirect = sink;
}

void QtMessageSink::error(const std::string& caption, const std::string& text) {
    if (redirect)
        return redirect->error(caption, text);
    QMessageBox::critical(parent_, shown(caption), shown(text));
}

void QtMessageSink::information(const std::string& caption, const std::string& text) {
    if (redirect)
        return redirect->information(caption, text);
    QMessageBox::information(parent_, shown(caption), shown(text));
}

void QtMessageSink::warning(const std::string& caption, const std::string& text) {
    if (redirect)
        return redirect->warning(caption, text);
    QMessageBox::warning(parent_, shown(caption), shown(text));
}

bool QtMessageSink::question(const std::string& caption, const std::string& text) {
    if (redirect)
        return redirect->question(caption, text);
    return QMessageBox::question(parent_, shown(caption), shown(text), QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void QtMessageSink::plain(const std::string& text) {
    if (redirect)
        return redirect->plain(text);
    QMessageBox box(QMessageBox::NoIcon, QString(), shown(text), QMessageBox::Ok, parent_);
    box.exec();
}

} // namespace vantor::gui
