// The intro window: its chrome, the hover colours of the menu, the two panels, the hot spots,
// the links and the logos of the answering centres; and closing it with a change typed into
// the browsing window.
#include <QApplication>
#include <QDesktopServices>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "content/record_set.h"
#include "controls/db_memo.h"
#include "controls/hot_spot.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "controls/picture.h"
#include "controls/speed_button.h"
#include "controls/tcolor.h"
#include "controls/window_chrome.h"
#include "file_from_outside.h"
#include "shell/vorudi.h"
#include "window_fixture.h"

namespace {

const QColor kMaroon = controls::tColor(128);
const QColor kGreen = controls::tColor(32768);

// Receives what the program hands to the desktop's browser.
class UrlCatcher : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UrlCatcher)

public:
    UrlCatcher() {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
    }
    ~UrlCatcher() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }

    QStringList opened;

public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url.toString()); }
};

template <typename T = QWidget>
T* part(const QWidget& form, const char* name) {
    T* found = form.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) qFatal("no component %s", name);
    return found;
}

void pointAt(QWidget* widget) {
    QTest::mouseMove(widget, widget->rect().center());
}

// The one logo shown (1-based row), 0 when none is, -1 when more than one is.
int shownLogo(const shell::TForm2& form) {
    int shown = 0;
    for (int i = 0; i < shell::kCentreCount; ++i) {
        if (!form.centreLogos[i]->isVisibleTo(form.Panel2)) continue;
        if (shown != 0) return -1;
        shown = i + 1;
    }
    return shown;
}

}  // namespace

class IntroWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void chromeIsBorderlessFixedAndCentredOnce();
    void hotSpotsAndPanelsLieWhereTheMenuNeedsThem();
    void centreLabelsKeepTheirRightEdge();
    void noComponentTakesTheKeyboardFocus();

    void hoverTurnsGreenAndLeaveMaroon_data();
    void hoverTurnsGreenAndLeaveMaroon();
    void panelOverAStillPointerLeavesTheLabelMaroon_data();
    void panelOverAStillPointerLeavesTheLabelMaroon();

    void panelsOpenFromTheMenuAndCloseFromTheirButton();
    void openPanelCoversWhatLiesBeneath();

    void minimiseActsOnEveryButtonAndEveryPress_data();
    void minimiseActsOnEveryButtonAndEveryPress();
    void closeEndsTheProgramOnEveryButton_data();
    void closeEndsTheProgramOnEveryButton();

    void linksOpenTheirAddresses_data();
    void linksOpenTheirAddresses();
    void linksIgnoreOtherButtonsAndOpenAgainOnEveryClick();

    void logoRule_data();
    void logoRule();

    void entryShowsTheBrowsingWindowWithoutChangingItsState_data();
    void entryShowsTheBrowsingWindowWithoutChangingItsState();

    void closingWritesWhatWasTypedOrStaysOpen();

private:
    std::unique_ptr<shell::TForm2> m_form;
};

void IntroWindowTest::init() {
    m_form = std::make_unique<shell::TForm2>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    // Qt drops a move to where the pointer already is; start each test from a spot that no
    // test points at, so that its first move is delivered.
    QTest::mouseMove(m_form.get(), QPoint(2, 476));
}

void IntroWindowTest::cleanup() {
    m_form.reset();
}

void IntroWindowTest::chromeIsBorderlessFixedAndCentredOnce() {
    shell::TForm2& form = *m_form;
    QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(form.minimumSize(), QSize(450, 479));
    QCOMPARE(form.maximumSize(), QSize(450, 479));
    QCOMPARE(form.windowTitle(), QGuiApplication::applicationDisplayName());
    QCOMPARE(form.windowRole(), QStringLiteral("Form2"));
    const QRect desktop = form.screen()->availableGeometry();
    QCOMPARE(form.pos(), controls::centredPosition(form.size(), desktop));

    // Only the first show centres: a later one keeps the window where it is.
    form.hide();
    form.move(form.pos() + QPoint(13, 7));
    const QPoint moved = form.pos();
    form.show();
    QCOMPARE(form.pos(), moved);

    QCOMPARE(controls::centredPosition({450, 479}, {0, 0, 1280, 1024}), QPoint(415, 272));
    QCOMPARE(controls::centredPosition({865, 682}, {0, 24, 1280, 1000}), QPoint(207, 183));
}

void IntroWindowTest::hotSpotsAndPanelsLieWhereTheMenuNeedsThem() {
    shell::TForm2& form = *m_form;
    // Shape2 lies over the minimise glyph, left of Shape3 over the close glyph.
    QCOMPARE(form.Shape2->geometry(), QRect(391, 10, 17, 17));
    QCOMPARE(form.Shape3->geometry(), QRect(416, 10, 17, 17));
    QCOMPARE(form.Panel1->geometry(), QRect(77, 12, 285, 376));
    QCOMPARE(form.Panel2->geometry(), QRect(26, 5, 408, 465));
    for (const QWidget* menu :
         {static_cast<QWidget*>(form.Label1), static_cast<QWidget*>(form.Label2),
          static_cast<QWidget*>(form.Label3)}) {
        QVERIFY2(form.Panel1->geometry().contains(menu->geometry()),
                 qPrintable(menu->objectName()));
        QVERIFY2(form.Panel2->geometry().contains(menu->geometry()),
                 qPrintable(menu->objectName()));
    }
    // The book introduction leaves the hot spots and the publisher's link reachable; the
    // answering centres cover the hot spots.
    QVERIFY(!form.Panel1->geometry().intersects(form.Shape2->geometry()));
    QVERIFY(!form.Panel1->geometry().intersects(form.Shape3->geometry()));
    QVERIFY(!form.Panel1->geometry().intersects(form.Label4->geometry()));
    QVERIFY(form.Panel2->geometry().contains(form.Shape2->geometry()));
    QVERIFY(form.Panel2->geometry().contains(form.Shape3->geometry()));
}

void IntroWindowTest::centreLabelsKeepTheirRightEdge() {
    const shell::TForm2& form = *m_form;
    const auto& rows = shell::answeringCentres();
    for (int i = 0; i < shell::kCentreCount; ++i) {
        const QString row = QStringLiteral("row %1").arg(i + 1);
        const controls::Label* name = part<controls::Label>(form, rows[i].nameLabel);
        const controls::Label* link = part<controls::Label>(form, rows[i].linkLabel);
        QCOMPARE(form.centreNames[i], name);
        QCOMPARE(form.centreLinks[i], link);
        QVERIFY2(name->geometry().x() + name->width() == 382, qPrintable(row));
        QVERIFY2(link->geometry().x() + link->width() == 382, qPrintable(row));
        QCOMPARE(name->y(), rows[i].nameBox.y());
        QCOMPARE(link->y(), rows[i].linkBox.y());
        // The width follows the caption.
        QCOMPARE(link->width(), link->fontMetrics().horizontalAdvance(link->text()));
        // The logos sit in one box left of every row.
        QCOMPARE(form.centreLogos[i]->geometry(), QRect(16, 48, 153, 121));
        QVERIFY2(link->x() > 16 + 153, qPrintable(row));
    }
}

void IntroWindowTest::noComponentTakesTheKeyboardFocus() {
    for (const QWidget* child : m_form->findChildren<QWidget*>())
        QVERIFY2(child->focusPolicy() == Qt::NoFocus, qPrintable(child->objectName()));
}

void IntroWindowTest::hoverTurnsGreenAndLeaveMaroon_data() {
    QTest::addColumn<QString>("label");
    QTest::newRow("entry") << "Label1";
    QTest::newRow("book introduction") << "Label2";
    QTest::newRow("answering centres") << "Label3";
}

void IntroWindowTest::hoverTurnsGreenAndLeaveMaroon() {
    QFETCH(QString, label);
    shell::TForm2& form = *m_form;
    auto* hovered = part<controls::Label>(form, label.toLatin1().constData());
    QCOMPARE(hovered->fontColor(), kMaroon);
    pointAt(hovered);
    QCOMPARE(hovered->fontColor(), kGreen);
    // Only the label under the pointer changes.
    for (controls::Label* other : {form.Label1, form.Label2, form.Label3})
        if (other != hovered) QCOMPARE(other->fontColor(), kMaroon);
    QTest::mouseMove(&form, QPoint(20, 200));
    QCOMPARE(hovered->fontColor(), kMaroon);

    // Straight from one menu label to the next: the first is left, the second entered.
    controls::Label* next = hovered == form.Label2 ? form.Label3 : form.Label2;
    pointAt(hovered);
    pointAt(next);
    QCOMPARE(hovered->fontColor(), kMaroon);
    QCOMPARE(next->fontColor(), kGreen);
}

void IntroWindowTest::panelOverAStillPointerLeavesTheLabelMaroon_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("exit");
    QTest::newRow("book introduction") << "Label2"
                                       << "Panel1"
                                       << "SpeedButton1";
    QTest::newRow("answering centres") << "Label3"
                                       << "Panel2"
                                       << "SpeedButton2";
}

void IntroWindowTest::panelOverAStillPointerLeavesTheLabelMaroon() {
    QFETCH(QString, menu);
    QFETCH(QString, panel);
    QFETCH(QString, exit);
    shell::TForm2& form = *m_form;
    auto* label = part<controls::Label>(form, menu.toLatin1().constData());
    pointAt(label);
    QCOMPARE(label->fontColor(), kGreen);
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
    QVERIFY(part(form, panel.toLatin1().constData())->isVisible());
    QCOMPARE(label->fontColor(), kMaroon);

    QTest::mouseClick(part(form, exit.toLatin1().constData()), Qt::LeftButton);
    QVERIFY(!part(form, panel.toLatin1().constData())->isVisible());
    for (const controls::Label* each : {form.Label1, form.Label2, form.Label3})
        QCOMPARE(each->fontColor(), kMaroon);
}

void IntroWindowTest::panelsOpenFromTheMenuAndCloseFromTheirButton() {
    shell::TForm2& form = *m_form;
    QVERIFY(!form.Panel1->isVisible());
    QVERIFY(!form.Panel2->isVisible());

    QTest::mouseClick(form.Label2, Qt::LeftButton);
    QVERIFY(form.Panel1->isVisible());
    QVERIFY(!form.Panel2->isVisible());
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    QVERIFY(!form.Panel1->isVisible());

    QTest::mouseClick(form.Label3, Qt::LeftButton);
    QVERIFY(form.Panel2->isVisible());
    QVERIFY(!form.Panel1->isVisible());
    // A right click on the exit button is not a click.
    QTest::mouseClick(form.SpeedButton2, Qt::RightButton);
    QVERIFY(form.Panel2->isVisible());
    QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
    QVERIFY(!form.Panel2->isVisible());

    // The panels lie above every other component.
    const QList<QObject*>& stack = form.children();
    QVERIFY(stack.indexOf(form.Panel1) > stack.indexOf(form.Label30));
    QVERIFY(stack.indexOf(form.Panel2) > stack.indexOf(form.Label30));
}

void IntroWindowTest::openPanelCoversWhatLiesBeneath() {
    shell::TForm2& form = *m_form;
    const QPoint entry = form.Label1->geometry().center();
    const QPoint centres = form.Label3->geometry().center();
    const QPoint minimise = form.Shape2->geometry().center();
    const QPoint close = form.Shape3->geometry().center();

    QTest::mouseClick(form.Label2, Qt::LeftButton);
    // Clicks on the spots of the covered menu labels reach the panel, not the labels.
    QTest::mouseClick(&form, Qt::LeftButton, {}, centres);
    QTest::mouseClick(&form, Qt::LeftButton, {}, entry);
    QVERIFY(form.Panel1->isVisible());
    QVERIFY(!form.Panel2->isVisible());
    // The hot spots stay reachable.
    QCOMPARE(form.childAt(minimise), form.Shape2);
    QCOMPARE(form.childAt(close), form.Shape3);
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);

    QTest::mouseClick(form.Label3, Qt::LeftButton);
    QTest::mousePress(&form, Qt::LeftButton, {}, minimise);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, minimise);
    QTest::mousePress(&form, Qt::LeftButton, {}, close);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, close);
    QVERIFY(form.isVisible());
    QVERIFY(!form.isMinimized());
    QVERIFY(form.Panel2->isVisible());
}

void IntroWindowTest::minimiseActsOnEveryButtonAndEveryPress_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void IntroWindowTest::minimiseActsOnEveryButtonAndEveryPress() {
    QFETCH(Qt::MouseButton, button);
    shell::TForm2& form = *m_form;
    // The press acts; the release is not waited for.
    QTest::mousePress(form.Shape2, button);
    QVERIFY(form.isMinimized());
    QTest::mouseRelease(form.Shape2, button);

    // Once the desktop has restored the window, the next press minimises it again.
    form.showNormal();
    QVERIFY(!form.isMinimized());
    QTest::mousePress(form.Shape2, button);
    QVERIFY(form.isMinimized());
    QTest::mouseRelease(form.Shape2, button);
    QVERIFY(form.isVisible());

    // Pressing the hot spot does nothing to the browsing window or the panels.
    QVERIFY(!form.Panel1->isVisible());
    QVERIFY(!form.Panel2->isVisible());
}

void IntroWindowTest::closeEndsTheProgramOnEveryButton_data() {
    minimiseActsOnEveryButtonAndEveryPress_data();
}

void IntroWindowTest::closeEndsTheProgramOnEveryButton() {
    QFETCH(Qt::MouseButton, button);
    shell::TForm2& form = *m_form;
    // The press comes first in the event loop; if it does not end the loop, the next turn ends
    // it with another status.
    QTimer::singleShot(0, &form, [&form, button] {
        QTest::mousePress(form.Shape3, button);
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(99); });
    });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!form.isVisible());
}

void IntroWindowTest::linksOpenTheirAddresses_data() {
    QTest::addColumn<QString>("panel");  // the menu label that opens the link's panel, if any
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("address");
    QTest::newRow("publisher's link on the window") << ""
                                                    << "Label4"
                                                    << "http://www.morvandel.example";
    QTest::newRow("publisher's link in the credits") << "Label2"
                                                     << "Label12"
                                                     << "http://www.morvandel.example";
    QTest::newRow("row 1") << "Label3"
                           << "Label23"
                           << "http://www.markaz-noor.example";
    QTest::newRow("row 2") << "Label3"
                           << "Label24"
                           << "http://www.pasokh-shobahat.example";
    QTest::newRow("row 3") << "Label3"
                           << "Label22"
                           << "http://www.khane-porsesh.example";
    QTest::newRow("row 4") << "Label3"
                           << "Label25"
                           << "http://www.kanoon-andishe.example";
    QTest::newRow("row 5: full address handed over as it is")
        << "Label3"
        << "Label26"
        << "http://www.morvandel.example/centres/";
    QTest::newRow("row 6: caption shorter than the address") << "Label3"
                                                             << "Label28"
                                                             << "http://www.hedayat-pasokh.example";
    QTest::newRow("row 7: caption shorter than the address") << "Label3"
                                                             << "Label27"
                                                             << "http://www.pasokh-qom.example";
    QTest::newRow("row 8 is the publisher's") << "Label3"
                                              << "Label29"
                                              << "http://www.morvandel.example";
}

void IntroWindowTest::linksOpenTheirAddresses() {
    QFETCH(QString, panel);
    QFETCH(QString, link);
    QFETCH(QString, address);
    shell::TForm2& form = *m_form;
    UrlCatcher catcher;
    if (!panel.isEmpty())
        QTest::mouseClick(part(form, panel.toLatin1().constData()), Qt::LeftButton);
    auto* label = part<controls::Label>(form, link.toLatin1().constData());
    QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
    QCOMPARE(catcher.opened, QStringList{address});
}

void IntroWindowTest::linksIgnoreOtherButtonsAndOpenAgainOnEveryClick() {
    shell::TForm2& form = *m_form;
    UrlCatcher catcher;
    QTest::mouseClick(form.Label4, Qt::RightButton);
    QTest::mouseClick(form.Label4, Qt::MiddleButton);
    QVERIFY(catcher.opened.isEmpty());
    // Pressing on the link and releasing elsewhere is no click either.
    QTest::mousePress(form.Label4, Qt::LeftButton);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(20, 200));
    QVERIFY(catcher.opened.isEmpty());

    QTest::mouseClick(form.Label4, Qt::LeftButton);
    QTest::mouseClick(form.Label4, Qt::LeftButton);
    QCOMPARE(catcher.opened.size(), 2);
    // The version label and the credit lines are no links.
    QTest::mouseClick(form.Label30, Qt::LeftButton);
    QTest::mouseClick(form.Label2, Qt::LeftButton);
    for (const controls::Label* credit :
         {form.Label5, form.Label6, form.Label7, form.Label8, form.Label10})
        QTest::mouseClick(const_cast<controls::Label*>(credit), Qt::LeftButton);
    QCOMPARE(catcher.opened.size(), 2);
}

void IntroWindowTest::logoRule_data() {
    // Steps: a link or name label to point at, "away" for an empty spot of the panel, "reopen"
    // to close and reopen the panel. The logo expected at the end (0: none).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("logo");
    QTest::newRow("none on first opening") << QStringList{} << 0;
    QTest::newRow("pointing at row 3 shows its logo") << QStringList{"Label22"} << 3;
    QTest::newRow("leaving a link keeps its logo") << QStringList{"Label22", "away"} << 3;
    QTest::newRow("the next link replaces the logo") << QStringList{"Label22", "Label27"} << 7;
    QTest::newRow("back and forth follows the last link")
        << QStringList{"Label27", "Label23", "Label29", "Label24"} << 2;
    QTest::newRow("a name label changes nothing") << QStringList{"Label14", "Label21"} << 0;
    QTest::newRow("a name label keeps the last logo") << QStringList{"Label26", "Label17"} << 5;
    QTest::newRow("closing and reopening keeps the logo") << QStringList{"Label28", "reopen"} << 6;
    QTest::newRow("the heading and the frame change nothing")
        << QStringList{"Label25", "Label13", "Shape1"} << 4;
}

void IntroWindowTest::logoRule() {
    QFETCH(QStringList, steps);
    QFETCH(int, logo);
    shell::TForm2& form = *m_form;
    QTest::mouseClick(form.Label3, Qt::LeftButton);
    for (const QString& step : steps) {
        if (step == QLatin1String("away")) {
            QTest::mouseMove(form.Panel2, QPoint(100, 300));
        } else if (step == QLatin1String("reopen")) {
            QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
            QTest::mouseClick(form.Label3, Qt::LeftButton);
        } else {
            QWidget* target = part(form, step.toLatin1().constData());
            // The frame lets the pointer through; point at its outline's inner side.
            QTest::mouseMove(
                target, step == QLatin1String("Shape1") ? QPoint(2, 200) : target->rect().center());
        }
    }
    QCOMPARE(shownLogo(form), logo);
}

void IntroWindowTest::entryShowsTheBrowsingWindowWithoutChangingItsState_data() {
    QTest::addColumn<bool>("shownBefore");
    QTest::addColumn<bool>("minimised");
    QTest::newRow("hidden, normal") << false << false;
    QTest::newRow("hidden, minimised") << false << true;
    QTest::newRow("shown, minimised") << true << true;
}

void IntroWindowTest::entryShowsTheBrowsingWindowWithoutChangingItsState() {
    QFETCH(bool, shownBefore);
    QFETCH(bool, minimised);
    shell::TForm2& form = *m_form;
    QWidget main;
    main.setObjectName(QStringLiteral("main"));
    controls::applyWindowChrome(main, QSize(865, 682));
    form.setBrowsingWindow(&main);
    if (minimised) main.setWindowState(Qt::WindowMinimized);
    if (shownBefore) main.show();

    pointAt(form.Label1);
    QTest::mouseClick(form.Label1, Qt::LeftButton, {}, form.Label1->rect().center());
    QVERIFY(main.isVisible());
    QCOMPARE(main.isMinimized(), minimised);
    QVERIFY(form.isVisible());
    QVERIFY(!form.isMinimized());
    // A shown browsing window lies over the entry label: it is left. A minimised one is not
    // over it, and the pointer is still there.
    QCOMPARE(form.Label1->fontColor(), minimised ? kGreen : kMaroon);
}

void IntroWindowTest::closingWritesWhatWasTypedOrStaysOpen() {
    testing_browser::BrowsingWindow fixture;
    shell::TForm2& form = *m_form;
    form.setBrowsingWindow(fixture.window.get());
    auto* answer = fixture.find<controls::DBMemo>("Memopakolliyat");
    content::RecordSet& topic1 = fixture.recordSet(content::Source::topic1);
    QVERIFY(topic1.setValue(0, 2, QStringLiteral("typed")));

    // Another program changed the record meanwhile: the write is refused, the box says why,
    // and the program does not end.
    kelvora::test::changeAnswerElsewhere(fixture.file(), u"kolliyat", u"نخست kolliyat", u"theirs");
    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    QCOMPARE(fixture.boxes.size(), 1);
    QVERIFY2(fixture.boxes.first().contains("changed by another program"),
             qPrintable(fixture.boxes.first()));
    QCOMPARE(answer->value(), QStringLiteral("typed"));

    // Dropped with Escape, the program ends; typed again on the next record, it is written as
    // the program ends.
    QTest::keyClick(answer, Qt::Key_Escape);
    topic1.next();
    QVERIFY(topic1.setValue(1, 2, QStringLiteral("written at the end")));
    QTimer::singleShot(0, &form, [&form] {
        form.close();
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(99); });
    });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(fixture.boxes.size(), 1);
    const auto records = kelvora::test::recordsInFile(fixture.file(), "kolliyat");
    QCOMPARE(records.at(u"نخست kolliyat"_qs).at(1), QStringLiteral("theirs"));
    QCOMPARE(records.at(u"دوم kolliyat"_qs).at(1), QStringLiteral("written at the end"));
}

QTEST_MAIN(IntroWindowTest)
#include "intro_window_test.moc"
