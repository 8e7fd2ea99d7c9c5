#include "CopiesDialog.h"

#include "FormDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QLineEdit>

namespace vantor::gui {

namespace {
struct CopiesDialog {
    Q_DECLARE_TR_FUNCTIONS(CopiesDialog)
};
} // namespace

QString copiesCommandText() {
    return CopiesDialog::tr(kCopiesCommandText);
}

bool runCopiesDialog(QWidget* parent, editing::CopiesForm& form, std::span<const std::string_view> choices,
                     int& choice, const std::function<editing::FormResult(QWidget* dialog)>& accept) {
    FormDialog d(parent, CopiesDialog::tr("批量复制从站"));
    QLineEdit* count = d.edit("editCount", CopiesDialog::tr("复制数量："), form.countText);
    QLineEdit* step = d.edit("editStep", CopiesDialog::tr("地址间隔："), form.stepText);
    QComboBox* by = nullptr;
    if (!choices.empty()) {
        by = comboBox("comboStep", choices, choice);
        d.form()->addRow(CopiesDialog::tr("递增："), by);
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
