#pragma once
// The modal editing dialog of both configurators: labelled fields in a form,
// 确定 and 取消 below. OK asks the core through `accept`; the dialog stays
// open, with the user's input, while the core answers StayOpen (the core
// has shown its message already).
#include "QtText.h"
#include "editing/FormResult.h"

#include <QComboBox>
#include <QDialog>
#include <QString>
#include <functional>
#include <string>

class QFormLayout;
class QLineEdit;
class QVBoxLayout;

namespace vantor::gui {

class FormDialog : public QDialog {
    Q_OBJECT
public:
    FormDialog(QWidget* parent, const QString& title);
    QFormLayout* form() { return form_; }
    QVBoxLayout* outer() { return layout_; }
    // A line edit named `objectName` in a new row of the form, labelled
    // `label` as given (a window's own text, already translated).
    QLineEdit* edit(const char* objectName, const QString& label, const std::string& text);
    // The same with a label the core gives: shown in the user's language.
    QLineEdit* edit(const char* objectName, const std::string& label, const std::string& text);
    QLineEdit* edit(const char* objectName, const char* label, const std::string& text) {
        return edit(objectName, std::string(label), text);
    }
    // Runs modally; true when the core accepted an OK.
    bool run(std::function<editing::FormResult()> accept);

private:
    QVBoxLayout* layout_;
    QFormLayout* form_;
};

// A drop-down list named `objectName` holding `texts` (the core's, shown in
// the user's language), `index` chosen.
template <typename Texts> QComboBox* comboBox(const char* objectName, const Texts& texts, int index) {
    auto* c = new QComboBox;
    c->setObjectName(objectName);
    for (const auto& t : texts)
        c->addItem(shown(std::string(t)));
    c->setCurrentIndex(index);
    return c;
}

// The text of a line edit as UTF-8.
std::string fieldText(const QLineEdit* e);

} // namespace vantor::gui
