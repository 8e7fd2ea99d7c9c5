#pragma once
// The core's texts (UTF-8) as Qt strings.
#include <QString>

#include <string>

namespace vantor::gui {

inline QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace vantor::gui
