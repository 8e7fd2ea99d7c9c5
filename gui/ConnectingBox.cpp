#include "ConnectingBox.h"

#include "AnimatedPicture.h"
#include "DataFiles.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace vantor::gui {

QString busyAnimationPath() {
    return dataFile("busy.gif");
}

ConnectingBox::ConnectingBox(QWidget* parent) : QDialog(parent) {
    setObjectName("dialog172");
    setWindowTitle(" ");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint & ~Qt::WindowCloseButtonHint);
    picture_ = new AnimatedPicture(this);
    picture_->setObjectName("picture1016");
    picture_->loadFromFile(busyAnimationPath());
    text_ = new QLabel(this);
    text_->setObjectName("text1020");
    text_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture_, 0, Qt::AlignHCenter);
    layout->addWidget(text_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    text_->setMinimumWidth(300);
}

void ConnectingBox::begin(const QString& text) {
    text_->setText(text);
    ending_ = false;
    setModal(true);
    show();
    picture_->draw();
}

void ConnectingBox::setText(const QString& text) {
    text_->setText(text);
}

QString ConnectingBox::text() const {
    return text_->text();
}

void ConnectingBox::end() {
    picture_->stop();
    ending_ = true;
    if (isVisible())
        accept();
}

void ConnectingBox::keyPressEvent(QKeyEvent* e) {
    // Escape does not end the box: only its owner does.
    if (e->key() == Qt::Key_Escape) {
        e->ignore();
        return;
    }
    QDialog::keyPressEvent(e);
}

void ConnectingBox::closeEvent(QCloseEvent* e) {
    if (!ending_)
        e->ignore();
}

} // namespace vantor::gui
