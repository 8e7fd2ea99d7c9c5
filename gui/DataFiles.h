#pragma once
// The program's data locations (see common/DataLocations.h) for the windows:
// chosen once at start-up with Qt's per-user data directory, then asked for
// the files to read and the directory to write in.
#include "common/DataLocations.h"

#include <QString>

namespace vantor::gui {

// Chooses the locations for this run: the current directory, the per-user
// data directory (created when it is needed) and the data directory beside
// the executable. Call after the application's names are set; says on
// stderr where files are written when that is not the current directory.
const common::DataLocations& setUpDataFiles();
// The locations chosen by setUpDataFiles(); without it, the current
// directory at the time of the call and the installed data directory (what
// window tests need).
const common::DataLocations& dataFiles();

// The file `relative` ("BITMAP/slave.bmp") to read.
QString dataFile(const QString& relative);
// The directory holding `relative`, for operations that take a directory.
QString dataDirectoryOf(const QString& relative);
// Where the program writes its files.
QString workDirectory();
// For the status bar: where the files are written when the current
// directory was not writable; empty otherwise.
QString workDirectoryNotice();

} // namespace vantor::gui
