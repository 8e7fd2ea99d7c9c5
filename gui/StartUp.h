#pragma once
// What every desktop program does before and right after its window system
// starts: --version and --help without a display, and --check-data.
#include <QStringList>

#include <optional>

namespace vantor::gui {

// Answers "--version" or "--help" (printed on stdout) before QApplication
// exists, so both work without a display; the exit status, or nothing when
// the program should start. `help` is followed by the options and the
// environment every program shares.
std::optional<int> answerInfoOptions(int argc, char** argv, const char* program, const char* help);

// --check-data: prints, for each of `files` (relative to the data
// directories), where it was found, and for pictures their size once
// loaded; then the directory files are written to. Returns the exit status:
// 0 when every file was found (and every picture loaded), 1 otherwise.
int checkDataFiles(const QStringList& files);

// VantorNet's --help (kept here so its window code stays its own).
extern const char* const kVantorNetHelp;

} // namespace vantor::gui
