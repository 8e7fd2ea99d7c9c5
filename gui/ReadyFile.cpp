#include "ReadyFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>

namespace vantor::gui {

void announceReadyWhenShown(QWidget& window) {
    const QString path = qEnvironmentVariable("VANTOR_READY_FILE");
    if (path.isEmpty())
        return;
    // Queued: runs once the event loop has started, after the show.
    QTimer::singleShot(0, &window, [&window, path] {
        if (!window.isVisible())
            return;
        // Written in one go, so a waiting script may also pass a named pipe.
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray::number(QCoreApplication::applicationPid()) + "\n");
    });
}

} // namespace vantor::gui
