#include "FormDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor::gui {

FormDialog::FormDialog(QWidget* parent, const QString& title) : QDialog(parent) {
    setWindowTitle(title);
    layout_ = new QVBoxLayout(this);
    form_ = new QFormLayout;
    layout_->addLayout(form_);
}

QLineEdit* FormDialog::edit(const char* objectName, const QString& label, const std::string& text) {
    auto* e = new QLineEdit(QString::fromStdString(text));
    e->setObjectName(objectName);
    form_->addRow(label, e);
    return e;
}

QLineEdit* FormDialog::edit(const char* objectName, const std::string& label, const std::string& text) {
    return edit(objectName, shown(label), text);
}

bool FormDialog::run(std::function<editing::FormResult()> accept) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    layout_->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, this, [this, accept] {
        if (accept() == editing::FormResult::Accepted)
            QDialog::accept();
    });
    return exec() == QDialog::Accepted;
}

std::string fieldText(const QLineEdit* e) {
    return e->text().toStdString();
}

} // namespace vantor::gui
