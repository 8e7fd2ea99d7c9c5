#pragma once
// What an import refused: one entry per refused row (or sheet), naming the
// sheet, the row number as the spreadsheet shows it, the column and the
// message of the check that refused it. An import is accepted only when the
// list is empty: it is all or nothing.
#include "common/MessageSink.h"

#include <optional>
#include <string>
#include <vector>

namespace vantor::sheet {

struct Refusal {
    std::string sheet;
    int row = 0;        // 0: the sheet as a whole
    std::string column; // empty: the row as a whole
    std::string message;
    bool operator==(const Refusal&) const = default;
};

class ImportReport {
public:
    void refuse(Refusal r) { refusals_.push_back(std::move(r)); }
    bool accepted() const { return refusals_.empty(); }
    const std::vector<Refusal>& refusals() const { return refusals_; }

    // "从站 第5行 从站地址: 地址请添入一个1和247之间的整数", in the user's
    // language but for the sheet's and column's names.
    static std::string line(const Refusal& r);
    // Every refusal's line, each ending in "\n".
    std::string text() const;
    // Orders the refusals as the sheets are listed, then by row (stable).
    void sort(const std::vector<std::string>& sheetOrder);

private:
    std::vector<Refusal> refusals_;
};

// The sink the core operations of one row report through. It keeps the
// first refusal (an error, a warning or a message without caption);
// informations are not refusals, and questions are answered No, so an
// import never goes on where the user would have been asked.
class RowSink : public MessageSink {
public:
    using MessageSink::error;
    void error(const std::string& caption, const std::string& text) override;
    void information(const std::string&, const std::string&) override {}
    void warning(const std::string& caption, const std::string& text) override { error(caption, text); }
    void plain(const std::string& text) override { error("", text); }
    bool question(const std::string&, const std::string&) override { return false; }

    // A refusal the import makes itself, naming the column it concerns.
    void refuse(const std::string& column, const std::string& text);

    bool refused() const { return refused_; }
    const std::string& message() const { return message_; }
    // The column named by refuse(); empty for an operation's own message.
    const std::string& column() const { return column_; }

private:
    bool refused_ = false;
    std::string message_;
    std::string column_;
};

// What an import of a project of type Doc gives.
template <typename Doc> struct ImportResult {
    std::string fileError;      // the workbook could not be read
    ImportReport report;        // the refused rows
    std::optional<Doc> project; // only when nothing was refused

    bool accepted() const { return project.has_value(); }
};

} // namespace vantor::sheet
