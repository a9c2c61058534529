#include <QApplication>

#include "shell/startup.h"

int main(int argc, char* argv[]) {
    // Qt's own arguments are Qt's; the program reads none of its own.
    QApplication app(argc, argv);
    return shell::runProgram(app);
}
