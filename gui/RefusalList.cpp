#include "RefusalList.h"

#include "FileChooser.h"
#include "QtMessageSink.h"
#include "QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantor::gui {

namespace {
struct RefusalList {
    Q_DECLARE_TR_FUNCTIONS(RefusalList)
};
} // namespace

QString workbookFilter() {
    return RefusalList::tr(kWorkbookFilter);
}

void showRefusalList(QWidget* parent, const QString& title, const QString& summary, const QString& lines) {
    QDialog d(parent);
    d.setObjectName("dialogRefusals");
    d.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&d);
    auto* label = new QLabel(summary);
    label->setObjectName("labelRefusals");
    layout->addWidget(label);
    auto* list = new QPlainTextEdit(lines);
    list->setObjectName("textRefusals");
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setMinimumSize(640, 240);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(RefusalList::tr("关闭"));
    QPushButton* copy = buttons->addButton(RefusalList::tr("复制"), QDialogButtonBox::ActionRole);
    copy->setObjectName("buttonCopy");
    QObject::connect(copy, &QPushButton::clicked, &d,
                     [list] { QApplication::clipboard()->setText(list->toPlainText()); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    layout->addWidget(buttons);
    d.exec();
}

void showImportRefusals(QWidget* parent, const sheet::ImportReport& report) {
    showRefusalList(parent, RefusalList::tr("导入工程表格"),
                    RefusalList::tr("工程表格中有%1行未能导入，工程没有改变：").arg(report.refusals().size()),
                    shown(report.text()).trimmed());
}

QString workbookPlace(const QString& workDirectory, const QString& projectPath) {
    const QString dir = workDirectory + "/EXCEL";
    QDir().mkpath(dir);
    return projectPath.isEmpty() ? dir : dir + "/" + QFileInfo(projectPath).completeBaseName() + ".xlsx";
}

void exportWorkbookFrom(QWidget* parent, const QString& workDirectory, const QString& projectPath,
                        const WorkbookWrite& write) {
    const QString path = chooseSaveFile(parent, RefusalList::tr("导出工程表格"),
                                        workbookPlace(workDirectory, projectPath), workbookFilter(), "xlsx");
    if (path.isEmpty())
        return;
    std::string error;
    QtMessageSink sink(parent);
    if (write(path.toStdString(), error))
        sink.information(RefusalList::tr("信息").toStdString(),
                         RefusalList::tr("已导出到 %1").arg(path).toStdString());
    else
        sink.error(error);
}

QString chooseWorkbookToImport(QWidget* parent, const QString& workDirectory) {
    return chooseOpenFile(parent, RefusalList::tr("导入工程表格"), workbookPlace(workDirectory, QString()),
                          workbookFilter());
}

void showImportFailure(QWidget* parent, const std::string& fileError, const sheet::ImportReport& report) {
    if (!fileError.empty())
        QtMessageSink(parent).error(fileError);
    else
        showImportRefusals(parent, report);
}

} // namespace vantor::gui
