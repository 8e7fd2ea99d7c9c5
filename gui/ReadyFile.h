#pragma once
// Start-up announcement for scripts that run a program unattended: when the
// environment names a file in VANTOR_READY_FILE, the program writes its
// process id there once its main window is shown and the event loop runs
// (a named pipe works too: the write waits for its reader).
class QWidget;

namespace vantor::gui {

void announceReadyWhenShown(QWidget& window);

} // namespace vantor::gui
