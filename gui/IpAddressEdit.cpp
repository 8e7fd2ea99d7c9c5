#include "IpAddressEdit.h"

#include "transfer/GatewayAddress.h"

#include <QValidator>

namespace vantor::gui {

namespace {

class AddressValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        const std::string text = input.toStdString();
        if (transfer::completeDottedIp(text))
            return Acceptable;
        // Up to four parts of up to three digits: shown as typed but holding
        // no address (an octet above 255), so that it is refused rather than
        // quietly cut to another address.
        int parts = 1, digits = 0;
        for (char c : text) {
            if (c == '.') {
                ++parts;
                digits = 0;
            } else if (c < '0' || c > '9' || ++digits > 3) {
                return Invalid;
            }
        }
        return parts <= 4 ? Intermediate : Invalid;
    }
};

} // namespace

IpAddressEdit::IpAddressEdit(QWidget* parent) : IpAddressEdit(QString(), parent) {}

IpAddressEdit::IpAddressEdit(const QString& address, QWidget* parent) : QLineEdit(parent) {
    setValidator(new AddressValidator(this));
    setMinimumWidth(150);
    setText(address);
    connect(this, &QLineEdit::editingFinished, this, &IpAddressEdit::complete);
}

QString IpAddressEdit::complete() {
    const QString complete = address();
    if (!text().isEmpty() && !complete.isEmpty() && complete != text())
        setText(complete);
    return complete;
}

QString IpAddressEdit::address() const {
    const auto complete = transfer::completeDottedIp(text().toStdString());
    return complete ? QString::fromStdString(*complete) : QString();
}

} // namespace vantor::gui
