#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <QString>

class QApplication;

namespace shell {

// The application title: the caption of every error box and of the taskbar entry.
inline constexpr char kApplicationTitle[] = "Morvandel";

// Start-up hooks of the test build. The program itself passes none: it reads no command line,
// environment or settings.
struct StartupSeams {
    // Runs while the browsing window is being built, before its content opens.
    std::function<void()> whileBuildingBrowser;
    // Receives the fatal report instead of showing it.
    std::function<void(const QString& title, const QString& text)> fatalReport;
    // Stops after start-up instead of running the event loop (returns 0).
    bool skipEventLoop = false;
};

// The whole lifetime: title, the intro window (created first, the main window), the browsing
// window (hidden; building it opens the collection), the event loop behind the intro window.
// Returns the exit status: 0 after a normal end, 1 after a fatal start-up error.
int runProgram(QApplication& app, const StartupSeams& seams = {});

// The text of the fatal start-up report: "Exception <type> in module <module> at <address>.",
// a line break, the error's message with a full stop unless empty or already ending in one,
// and a final line break. The address is printed as eight hexadecimal digits.
QString fatalReportText(const QString& typeName, const QString& moduleName,
                        std::uintptr_t address, const QString& message);

}  // namespace shell
