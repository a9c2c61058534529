// The Persian input language at start, on a real X server whose layouts the test sets.
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

// After Qt: the X headers define macros that Qt's headers also use as names.
#include <X11/XKBlib.h>

#include "shell/keyboard_layout.h"

namespace {

int currentGroup() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11->display();
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    return state.group;
}

void setLayouts(const QString& layouts) {
    const int status = QProcess::execute("setxkbmap", {"-layout", layouts});
    QCOMPARE(status, 0);
}

}  // namespace

class KeyboardLayoutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void locksThePersianGroup_data();
    void locksThePersianGroup();
};

void KeyboardLayoutTest::locksThePersianGroup_data() {
    QTest::addColumn<QString>("layouts");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("group");
    QTest::newRow("Persian second: group 2 locked") << "us,ir" << true << 1;
    QTest::newRow("Persian first") << "ir,us" << true << 0;
    QTest::newRow("Persian third") << "us,de,ir" << true << 2;
    QTest::newRow("no Persian layout: nothing, silently") << "us,de" << false << -1;
}

void KeyboardLayoutTest::locksThePersianGroup() {
    QFETCH(QString, layouts);
    QFETCH(bool, selected);
    QFETCH(int, group);
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    setLayouts(layouts);
    const int before = currentGroup();
    QCOMPARE(shell::activatePersianKeyboard(), selected);
    if (group < 0) {
        QTest::qWait(100);
        QCOMPARE(currentGroup(), before);  // left as it was
    } else {
        QTRY_COMPARE(currentGroup(), group);
    }
}

QTEST_MAIN(KeyboardLayoutTest)
#include "keyboard_layout_test.moc"
