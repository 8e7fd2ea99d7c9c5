#include "RefusalList.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor::gui {

void showRefusalList(QWidget* parent, const QString& title, const QString& summary, const QString& lines) {
    QDialog d(parent);
    d.setObjectName("dialogRefusals");
    d.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&d);
    auto* label = new QLabel(summary);
    label->setObjectName("labelRefusals");
    layout->addWidget(label);
    auto* list = new QPlainTextEdit(lines);
    list->setObjectName("textRefusals");
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setMinimumSize(640, 240);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText("关闭");
    QPushButton* copy = buttons->addButton("复制", QDialogButtonBox::ActionRole);
    copy->setObjectName("buttonCopy");
    QObject::connect(copy, &QPushButton::clicked, &d,
                     [list] { QApplication::clipboard()->setText(list->toPlainText()); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    layout->addWidget(buttons);
    d.exec();
}

} // namespace vantor::gui
