#pragma once
// An address field that holds an IPv4 address and nothing else: up to four
// octets of up to three digits can be typed, a blank or missing octet counts
// as 0, and leaving the field shows the complete address. An octet above 255
// stays as typed and the field then holds no address.
#include <QLineEdit>

namespace vantor::gui {

class IpAddressEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit IpAddressEdit(QWidget* parent = nullptr);
    explicit IpAddressEdit(const QString& address, QWidget* parent = nullptr);

    // The complete address ("1.2.3" holds "1.2.3.0"); empty when the text is
    // no address (an octet above 255).
    QString address() const;
    // Shows the complete address in the field, so that what is sent or
    // connected to is what the field shows, and returns it. An empty field
    // and one holding no address stay as they are.
    QString complete();
};

} // namespace vantor::gui
