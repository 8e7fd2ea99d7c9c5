#pragma once
// The wire log of an exchange in a modal box ("通信记录"): one line per frame
// or connection event, as the exchange driver recorded them.
#include <string>
#include <vector>

class QWidget;

namespace vantor::gui {

void showWireLog(QWidget* parent, const std::vector<std::string>& lines);

} // namespace vantor::gui
