#pragma once
// "批量复制" in both configurators: how many copies of the selected slave,
// how far apart their addresses, and (VantorNet) whether the step applies to
// the IP's last part or to the unit address. OK hands the fields to the core
// through `accept` (its messages belong on `dialog`); the dialog stays
// open while the core refuses.
#include "editing/CopiesForm.h"
#include "editing/FormResult.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <span>
#include <string_view>

class QWidget;

namespace vantor::gui {

// The menu command that opens the dialog: kCopiesCommandText as written,
// copiesCommandText() in the user's language.
inline constexpr const char* kCopiesCommandText = QT_TRANSLATE_NOOP("CopiesDialog", "批量复制...");
QString copiesCommandText();

// `choices` empty: no choice offered; otherwise `choice` is the index shown
// first and the one taken.
bool runCopiesDialog(QWidget* parent, editing::CopiesForm& form, std::span<const std::string_view> choices,
                     int& choice, const std::function<editing::FormResult(QWidget* dialog)>& accept);

} // namespace vantor::gui
