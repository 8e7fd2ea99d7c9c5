#include "CopiesDialog.h"

#include "FormDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace vantor::gui {

bool runCopiesDialog(QWidget* parent, editing::CopiesForm& form, std::span<const std::string_view> choices,
                     int& choice, const std::function<editing::FormResult(QWidget* dialog)>& accept) {
    FormDialog d(parent, "批量复制从站");
    QLineEdit* count = d.edit("editCount", "复制数量：", form.countText);
    QLineEdit* step = d.edit("editStep", "地址间隔：", form.stepText);
    QComboBox* by = nullptr;
    if (!choices.empty()) {
        by = comboBox("comboStep", choices, choice);
        d.form()->addRow("递增：", by);
    }
    return d.run([&] {
        form.countText = fieldText(count);
        form.stepText = fieldText(step);
        if (by)
            choice = by->currentIndex();
        return accept(&d);
    });
}

} // namespace vantor::gui
