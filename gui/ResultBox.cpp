#include "ResultBox.h"

#include "QtText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor::gui {

namespace {
QStringList* redirect = nullptr;
}

ResultBox::ResultBox(QWidget* parent) : QDialog(parent) {
    setObjectName("dialog144");
    setWindowTitle(" ");
    text_ = new QLabel(shown(kDefaultText), this);
    text_->setObjectName("text1023");
    text_->setAlignment(Qt::AlignCenter);
    QFont f = text_->font();
    f.setPointSizeF(f.pointSizeF() * 1.5);
    f.setBold(true);
    text_->setFont(f);
    text_->setMinimumSize(260, 60);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ResultBox::setText(const QString& text) {
    text_->setText(text);
}

QString ResultBox::text() const {
    return text_->text();
}

void ResultBox::redirectTo(QStringList* texts) {
    redirect = texts;
}

void ResultBox::showResult(QWidget* parent, const QString& text) {
    if (redirect) {
        redirect->append(text);
        return;
    }
    ResultBox box(parent);
    box.setText(text);
    box.exec();
}

} // namespace vantor::gui
