#pragma once
// The box a refused import shows: what was refused, one line per row
// ("从站 第5行 从站地址: ..."), in a read-only text the user can select, and a
// 复制 button that puts the whole list on the clipboard; and the rest of
// the two programs' 导出工程表格... and 导入工程表格... that is not their own
// project's: the file choice, the export's outcome, an import's failure.
#include "sheet/ImportReport.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <string>

class QWidget;

namespace vantor::gui {

// Modal. `lines`: the refusals, one per line.
void showRefusalList(QWidget* parent, const QString& title, const QString& summary, const QString& lines);

// The box of a refused 导入工程表格...: how many rows, and every one.
void showImportRefusals(QWidget* parent, const sheet::ImportReport& report);

// 导出工程表格... and 导入工程表格... of both programs: the file filter, and the
// place proposed for a workbook, below EXCEL/ of the work directory (created
// when missing), named after the project when it has a file.
inline constexpr const char* kWorkbookFilter =
    QT_TRANSLATE_NOOP("RefusalList", "Excel 工作簿 (*.xlsx);;所有文件 (*)");
QString workbookFilter(); // kWorkbookFilter in the user's language
QString workbookPlace(const QString& workDirectory, const QString& projectPath);

// 导出工程表格...: the file chosen below the work directory is written by
// `write` (true, or false with the error), and the outcome is shown.
using WorkbookWrite = std::function<bool(const std::string& path, std::string& error)>;
void exportWorkbookFrom(QWidget* parent, const QString& workDirectory, const QString& projectPath,
                        const WorkbookWrite& write);

// 导入工程表格...: the workbook chosen, or empty.
QString chooseWorkbookToImport(QWidget* parent, const QString& workDirectory);

// Shows why an import built no project (an unreadable file, or the refused
// rows); true when it built one.
void showImportFailure(QWidget* parent, const std::string& fileError, const sheet::ImportReport& report);
template <typename ImportResult> bool importAccepted(QWidget* parent, const ImportResult& result) {
    if (!result.fileError.empty() || !result.accepted()) {
        showImportFailure(parent, result.fileError, result.report);
        return false;
    }
    return true;
}

} // namespace vantor::gui
