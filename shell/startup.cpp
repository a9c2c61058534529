#include "shell/startup.h"

#include <cxxabi.h>
#include <dlfcn.h>

#include <cstdlib>
#include <exception>
#include <memory>

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QScreen>

#include "browser/Unit1.h"
#include "controls/window_chrome.h"
#include "controls/fonts.h"
#include "shell/taskbar.h"
#include "shell/vorudi.h"

namespace shell {

namespace {

QString currentExceptionTypeName() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (type == nullptr) return QStringLiteral("Exception");
    int status = 0;
    char* demangled = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
    QString name = QString::fromUtf8(status == 0 && demangled ? demangled : type->name());
    std::free(demangled);
    return name;
}

// The code location relative to the start of the module that holds it.
std::uintptr_t moduleOffset(const void* code, QString* moduleName) {
    Dl_info info{};
    if (dladdr(code, &info) != 0 && info.dli_fbase != nullptr) {
        if (info.dli_fname != nullptr)
            *moduleName = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).fileName();
        return reinterpret_cast<std::uintptr_t>(code) -
               reinterpret_cast<std::uintptr_t>(info.dli_fbase);
    }
    return reinterpret_cast<std::uintptr_t>(code);
}

void centreOnDesktop(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect desktop = screen->availableGeometry();
    window.move(desktop.center() - QPoint(window.width() / 2, window.height() / 2));
}

int reportFatal(const StartupSeams& seams, const QString& message, const void* where) {
    QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const std::uintptr_t offset = moduleOffset(where, &module);
    const QString text = fatalReportText(currentExceptionTypeName(), module, offset, message);
    const QString title = QStringLiteral("Application Error");
    if (seams.fatalReport) {
        seams.fatalReport(title, text);
    } else {
        QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, nullptr);
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
    }
    return 1;
}

}  // namespace

QString fatalReportText(const QString& typeName, const QString& moduleName,
                        std::uintptr_t address, const QString& message) {
    QString text = QStringLiteral("Exception %1 in module %2 at %3.\n")
                       .arg(typeName, moduleName,
                            QStringLiteral("%1").arg(static_cast<qulonglong>(address & 0xFFFFFFFFu),
                                                     8, 16, QLatin1Char('0')).toUpper());
    text += message;
    if (!message.isEmpty() && !message.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
    text += QLatin1Char('\n');
    return text;
}

int runProgram(QApplication& app, const StartupSeams& seams) {
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    QApplication::setApplicationDisplayName(QString::fromLatin1(kApplicationTitle));
    QApplication::setQuitOnLastWindowClosed(false);
    // Tahoma and MS Sans Serif, which the windows are laid out in, are not on Linux.
    controls::installFontSubstitutes();
    // The desktop's one entry for the program shows this icon; the entry itself is the intro
    // window's, since the browsing window keeps off the taskbar.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon_48.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvora"));

    std::unique_ptr<TForm2> form2;
    std::unique_ptr<browser::Tmain> main;
    try {
        form2 = std::make_unique<TForm2>();
        if (seams.whileBuildingBrowser) seams.whileBuildingBrowser();
        main = std::make_unique<browser::Tmain>();
    } catch (const std::exception& error) {
        // Nothing catches a start-up error but this last-chance handler: no window is shown.
        main.reset();
        form2.reset();
        return reportFatal(seams, QString::fromUtf8(error.what()),
                           reinterpret_cast<const void*>(&runProgram));
    }
    form2->setBrowsingWindow(main.get());
    controls::applyWindowChrome(*main, QSize(browser::Tmain::kClientWidth,
                                             browser::Tmain::kClientHeight));
    keepOffTaskbar(*main);

    if (seams.skipEventLoop) return 0;
    centreOnDesktop(*form2);
    centreOnDesktop(*main);
    form2->show();
    app.exec();
    main.reset();
    form2.reset();
    return 0;
}

}  // namespace shell
