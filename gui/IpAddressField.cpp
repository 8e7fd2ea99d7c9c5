#include "IpAddressField.h"

#include <QStringList>

namespace vantor::gui {

QValidator::State DottedQuadValidator::validate(QString& input, int&) const {
    const QStringList parts = input.split('.');
    if (parts.size() > 4)
        return Invalid;
    bool complete = parts.size() == 4;
    for (const QString& part : parts) {
        if (part.isEmpty()) {
            complete = false;
            continue;
        }
        if (part.size() > 3)
            return Invalid;
        for (QChar c : part)
            if (c < '0' || c > '9')
                return Invalid;
        if (part.toInt() > 255)
            return Invalid;
    }
    return complete ? Acceptable : Intermediate;
}

IpAddressField::IpAddressField(QWidget* parent) : QLineEdit(parent) {
    setValidator(new DottedQuadValidator(this));
    setMinimumWidth(130);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (hasAcceptableInput())
            lastComplete_ = text();
    });
}

bool IpAddressField::setAddress(const QString& address) {
    QString copy = address;
    int pos = 0;
    if (validator()->validate(copy, pos) != QValidator::Acceptable)
        return false;
    setText(address);
    return true;
}

void IpAddressField::focusOutEvent(QFocusEvent* event) {
    if (!hasAcceptableInput() && !lastComplete_.isEmpty())
        setText(lastComplete_);
    QLineEdit::focusOutEvent(event);
}

} // namespace vantor::gui
