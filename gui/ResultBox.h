#pragma once
// The result box at the end of a device exchange: one line of text (by
// default "下载完毕！") and OK. Tests collect the texts instead (redirectTo).
#include "transfer/ResultTexts.h"

#include <QDialog>
#include <QStringList>

class QLabel;

namespace vantor::gui {

class ResultBox : public QDialog {
    Q_OBJECT
public:
    explicit ResultBox(QWidget* parent = nullptr);

    static constexpr const char* kDefaultText = transfer::result::kDone;
    void setText(const QString& text);
    QString text() const;

    // Shows the box modally with `text` (or records it while redirected).
    static void showResult(QWidget* parent, const QString& text);
    // While set, showResult appends to `texts` and shows nothing.
    static void redirectTo(QStringList* texts);

private:
    QLabel* text_;
};

} // namespace vantor::gui
