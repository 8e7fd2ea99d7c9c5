#pragma once
// Writes tables of texts into one spreadsheet file: an Excel workbook for a
// name ending in ".xlsx" (any case), a delimited UTF-8 text file otherwise.
//
// One writer is bound to one file and may hold several sheets. For each sheet:
// open(sheet), setHeaders(...), addRow(...) per row, commit(). save() then
// writes every committed sheet, in commit order, into the file at once; the
// file is written beside and renamed over the target, so a failed export never
// leaves a half-written file behind.
//
// Failures never throw: they are collected as texts (each ending in "\n") in
// errors(), as the export reports them.
#include <string>
#include <vector>

namespace vantor {
class AtomicFile;
}

namespace vantor::editing {

class SheetWriter {
public:
    enum class Format { Workbook, DelimitedText };

    // An empty path means no file was chosen (a cancelled save dialog):
    // nothing is ever written.
    explicit SheetWriter(std::string path);

    static Format formatFor(const std::string& path);
    Format format() const { return format_; }

    // Starts a sheet. Opening a name that was already committed replaces
    // that sheet's contents in place.
    void open(const std::string& sheet);
    void setHeaders(std::vector<std::string> headers);
    void addRow(std::vector<std::string> row);
    // Ends the current sheet; false (with a text in errors()) when its
    // headers are unusable.
    bool commit();

    // Writes the file. False when no file was chosen, when any sheet failed,
    // or when the file could not be written.
    bool save();

    const std::string& errors() const { return errors_; }
    int rowCount() const { return static_cast<int>(current_.rows.size()); }

    // Quoting of one field of the delimited text: fields holding the
    // delimiter, a quote, a line break or surrounding blanks are quoted,
    // quotes doubled.
    static std::string quoteField(const std::string& field, char delimiter);

private:
    struct Sheet {
        std::string name;
        std::vector<std::string> headers;
        std::vector<std::vector<std::string>> rows;
    };
    bool saveWorkbook(const std::string& tempPath);
    bool saveText(AtomicFile& file);

    std::string path_;
    Format format_;
    Sheet current_;
    bool sheetOpen_ = false;
    bool failed_ = false;
    std::vector<Sheet> sheets_;
    std::string errors_;
};

} // namespace vantor::editing
