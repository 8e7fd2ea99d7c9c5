#pragma once
// An IPv4 address field: a line edit that takes only a dotted quad of four
// numbers 0..255. While the user types, a beginning of one is allowed
// ("192.168."); hasAcceptableInput() is true only for a complete address,
// and leaving the field with an incomplete one puts back the last complete
// address it held.
#include <QLineEdit>
#include <QValidator>

namespace vantor::gui {

class DottedQuadValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

class IpAddressField : public QLineEdit {
    Q_OBJECT
public:
    explicit IpAddressField(QWidget* parent = nullptr);
    // Shows `address`; a text that is not a complete address is refused and
    // the field keeps what it held.
    bool setAddress(const QString& address);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString lastComplete_;
};

} // namespace vantor::gui
