#include "StartUp.h"

#include "DataFiles.h"
#include "common/InfoOptions.h"

#include <QFileInfo>
#include <QImage>
#include <QTextStream>

#include <iostream>
#include <string>
#include <vector>

namespace vantor::gui {

std::optional<int> answerInfoOptions(int argc, char** argv, const char* program, const char* help) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::string text = std::string(help) +
                             "  --lang en|zh  speak English or Chinese this time (else the language\n"
                             "                chosen in the language menu, else the locale's)\n"
                             "  --version     print the release and exit\n"
                             "  --help        print this text and exit\n"
                             "\n"
                             "Environment: VANTOR_READY_FILE names a file that receives the process id\n"
                             "once the window is shown.\n";
    return common::answerInfoOptions(args, program, text, std::cout);
}

const char* const kVantorNetHelp =
    "usage: VantorNet [FILE.vncfg]\n"
    "       VantorNet --version | --help\n"
    "\n"
    "Configures gateways whose slaves are MODBUS TCP servers: opens the project\n"
    "FILE.vncfg, or starts with a new project.\n"
    "\n"
    "Vantor.ver and the pictures are read from the current directory, else from\n"
    "the installed data directory (<prefix>/share/vantor beside the program).\n"
    "The address files IP/ip.txt and IP/port.txt are kept in the current\n"
    "directory, or, when it cannot be written, in the per-user data directory\n"
    "($XDG_DATA_HOME/Vantor/VantorNet, by default ~/.local/share/Vantor/VantorNet).\n"
    "\n";

int checkDataFiles(const QStringList& files) {
    QTextStream out(stdout);
    int status = 0;
    for (const QString& relative : files) {
        const QString path = dataFile(relative);
        if (!QFileInfo(path).isFile()) {
            out << relative << ": missing\n";
            status = 1;
            continue;
        }
        out << relative << ": " << path;
        if (relative.endsWith(".bmp") || relative.endsWith(".gif")) {
            const QImage picture(path);
            if (picture.isNull()) {
                out << " (not a picture)";
                status = 1;
            } else {
                out << " (" << picture.width() << "x" << picture.height() << ")";
            }
        }
        out << "\n";
    }
    out << "written to: " << workDirectory() << "\n";
    return status;
}

} // namespace vantor::gui
