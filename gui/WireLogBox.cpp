#include "WireLogBox.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace vantor::gui {

void showWireLog(QWidget* parent, const std::vector<std::string>& lines) {
    QDialog box(parent);
    box.setObjectName("wireLog");
    box.setWindowTitle(QCoreApplication::translate("WireLogBox", "通信记录"));
    auto* text = new QPlainTextEdit(&box);
    text->setObjectName("wireLogText");
    text->setReadOnly(true);
    text->setFont(QFont("Monospace"));
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QStringList all;
    for (const auto& line : lines)
        all << QString::fromStdString(line);
    text->setPlainText(all.join('\n'));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &box);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(text);
    layout->addWidget(buttons);
    box.resize(640, 400);
    box.exec();
}

} // namespace vantor::gui
