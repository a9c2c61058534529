// Start-up: the error box text, the reports while the collection opens, and the fatal path.
#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "controls/error_box.h"
#include "shell/startup.h"

class StartupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void errorBoxText_data();
    void errorBoxText();
    void fatalReportFormat();
    void missingCollectionShowsFifteenBoxesAndGoesOn();
    void fatalStartupErrorEndsWithStatusOne();
    void guardedHandlerStopsAtTheError();
};

void StartupTest::errorBoxText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");
    QTest::newRow("letter gets a full stop") << "Table not found" << "Table not found.";
    QTest::newRow("full stop kept single") << "Done." << "Done.";
    QTest::newRow("below the full stop: exclamation mark") << "Stop!" << "Stop!";
    QTest::newRow("below the full stop: closing parenthesis") << "(x)" << "(x)";
    QTest::newRow("digit sorts after the full stop") << "code 7" << "code 7.";
    QTest::newRow("Persian letter") << QStringLiteral("خطا") << QStringLiteral("خطا.");
    QTest::newRow("empty stays empty") << "" << "";
}

void StartupTest::errorBoxText() {
    QFETCH(QString, message);
    QFETCH(QString, expected);
    QCOMPARE(controls::errorBoxText(message), expected);
}

void StartupTest::fatalReportFormat() {
    QCOMPARE(shell::fatalReportText("EOleSysError", "kelvora", 0x1a2b3c, "Class not registered"),
             QStringLiteral("Exception EOleSysError in module kelvora at 001A2B3C.\n"
                            "Class not registered.\n"));
    QCOMPARE(shell::fatalReportText("E", "m", 0, "ends."), QStringLiteral("Exception E in module m at 00000000.\nends.\n"));
    QCOMPARE(shell::fatalReportText("E", "m", 0, ""), QStringLiteral("Exception E in module m at 00000000.\n\n"));
}

void StartupTest::missingCollectionShowsFifteenBoxesAndGoesOn() {
    QTemporaryDir empty;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(empty.path());
    QStringList captions, texts;
    controls::setErrorBoxHandler([&](const QString& caption, const QString& text) {
        captions.append(caption);
        texts.append(text);
    });
    shell::StartupSeams seams;
    seams.skipEventLoop = true;
    const int status = shell::runProgram(*qApp, seams);
    controls::setErrorBoxHandler({});
    QDir::setCurrent(previous);

    QCOMPARE(status, 0);
    QCOMPARE(texts.size(), 15);
    for (int i = 0; i < texts.size(); ++i) {
        QCOMPARE(captions[i], QStringLiteral("Morvandel"));
        QVERIFY2(texts[i].contains("kelvora.mdb"), qPrintable(texts[i]));
    }
}

void StartupTest::fatalStartupErrorEndsWithStatusOne() {
    QString title, text;
    int boxes = 0;
    shell::StartupSeams seams;
    seams.whileBuildingBrowser = [] { throw std::runtime_error("Class not registered"); };
    seams.fatalReport = [&](const QString& t, const QString& x) {
        title = t;
        text = x;
        ++boxes;
    };
    QCOMPARE(shell::runProgram(*qApp, seams), 1);
    QCOMPARE(boxes, 1);
    QCOMPARE(title, QStringLiteral("Application Error"));
    static const QRegularExpression format(
        R"(^Exception std::runtime_error in module \S+ at [0-9A-F]{8}\.\nClass not registered\.\n$)");
    QVERIFY2(format.match(text).hasMatch(), qPrintable(text));
    // No window of the program is left shown.
    for (QWidget* window : QApplication::topLevelWidgets()) QVERIFY(!window->isVisible());
}

void StartupTest::guardedHandlerStopsAtTheError() {
    QStringList texts;
    controls::setErrorBoxHandler([&](const QString&, const QString& text) { texts.append(text); });
    int reached = 0;
    const bool ok = controls::guarded([&] {
        ++reached;
        throw std::runtime_error("Qkolliyat: Cannot perform this operation on a closed dataset");
        ++reached;
    });
    controls::setErrorBoxHandler({});
    QVERIFY(!ok);
    QCOMPARE(reached, 1);
    QCOMPARE(texts, QStringList{"Qkolliyat: Cannot perform this operation on a closed dataset."});
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
