#pragma once
// The box a refused import shows: what was refused, one line per row
// ("从站 第5行 从站地址: ..."), in a read-only text the user can select, and a
// 复制 button that puts the whole list on the clipboard.
#include <QString>

class QWidget;

namespace vantor::gui {

// Modal. `lines`: the refusals, one per line.
void showRefusalList(QWidget* parent, const QString& title, const QString& summary, const QString& lines);

} // namespace vantor::gui
