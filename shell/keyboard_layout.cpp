#include "shell/keyboard_layout.h"

#include <QGuiApplication>
#include <QString>
#include <QStringList>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(KELVORA_HAVE_X11)
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XKBstr.h>
#endif

namespace shell {

#if defined(KELVORA_HAVE_X11)
namespace {

QString atomName(Display* display, Atom atom) {
    if (atom == None) return {};
    char* name = XGetAtomName(display, atom);
    if (name == nullptr) return {};
    QString text = QString::fromUtf8(name);
    XFree(name);
    return text;
}

// The XKB group that holds a Persian layout: by the group's name ("Persian"), or else by the
// symbols description ("pc+us+ir:2+inet(evdev)": layout "ir" in group 2). -1 when none.
int persianGroup(Display* display) {
    XkbDescPtr keyboard = XkbAllocKeyboard();
    if (keyboard == nullptr) return -1;
    int group = -1;
    if (XkbGetNames(display, XkbGroupNamesMask | XkbSymbolsNameMask, keyboard) == Success &&
        keyboard->names != nullptr) {
        for (int i = 0; i < XkbNumKbdGroups && group < 0; ++i) {
            const QString name = atomName(display, keyboard->names->groups[i]);
            if (name.contains(QLatin1String("Persian"), Qt::CaseInsensitive) ||
                name.contains(QLatin1String("Farsi"), Qt::CaseInsensitive))
                group = i;
        }
        if (group < 0) {
            const QStringList parts =
                atomName(display, keyboard->names->symbols).split(QLatin1Char('+'));
            for (int i = 0; i < parts.size() && group < 0; ++i) {
                const QString part = parts[i];
                if (i == 0 || !(part == QLatin1String("ir") || part.startsWith(QLatin1String("ir(")) ||
                                part.startsWith(QLatin1String("ir:"))))
                    continue;
                const qsizetype colon = part.indexOf(QLatin1Char(':'));
                group = colon < 0 ? 0 : part.mid(colon + 1).toInt() - 1;
            }
        }
    }
    XkbFreeKeyboard(keyboard, 0, True);
    return group >= 0 && group < XkbNumKbdGroups ? group : -1;
}

}  // namespace
#endif

bool activatePersianKeyboard() {
#if defined(Q_OS_WIN)
    return ActivateKeyboardLayout(reinterpret_cast<HKL>(0x0429), 0) != nullptr;
#elif defined(KELVORA_HAVE_X11)
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr) return false;
    const int group = persianGroup(display);
    if (group < 0) return false;
    const bool locked = XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned>(group));
    XFlush(display);
    return locked;
#else
    return false;
#endif
}

}  // namespace shell
