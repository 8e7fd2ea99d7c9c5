#pragma once
// The core's texts (UTF-8) as Qt strings.
#include "text/Shown.h"

#include <QString>

#include <string>

namespace vantor::gui {

// As it stands: names, numbers, addresses, file paths.
inline QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// A text of the core's meant for the user's eyes (a message, a status, a
// label): in the user's language.
inline QString shown(const std::string& s) {
    return QString::fromStdString(text::shown(s));
}

} // namespace vantor::gui
