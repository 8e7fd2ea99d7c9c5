#include "IpAddressEdit.h"

#include "services/NetworkParams.h"

#include <QValidator>

namespace vantor::gui {

namespace {

class AddressValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return services::completeDottedIp(input.toStdString()) ? Acceptable : Invalid;
    }
};

} // namespace

IpAddressEdit::IpAddressEdit(QWidget* parent) : IpAddressEdit(QString(), parent) {}

IpAddressEdit::IpAddressEdit(const QString& address, QWidget* parent) : QLineEdit(parent) {
    setValidator(new AddressValidator(this));
    setMinimumWidth(150);
    setText(address);
    connect(this, &QLineEdit::editingFinished, this, [this] {
        const QString complete = this->address();
        if (!complete.isEmpty() && complete != text())
            setText(complete);
    });
}

QString IpAddressEdit::address() const {
    const auto complete = services::completeDottedIp(text().toStdString());
    return complete ? QString::fromStdString(*complete) : QString();
}

} // namespace vantor::gui
