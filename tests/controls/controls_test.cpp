// The widget layer on its own, with plain Qt models: colours, fonts, hot spots, labels, flat
// buttons, the edit box's selection, and the data link with its bound controls and grid.
#include <QApplication>
#include <QFocusEvent>
#include <QFontInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "controls/data_link.h"
#include "controls/db_grid.h"
#include "controls/db_memo.h"
#include "controls/db_text.h"
#include "controls/edit.h"
#include "controls/error_box.h"
#include "controls/fonts.h"
#include "controls/hot_spot.h"
#include "controls/label.h"
#include "controls/picture.h"
#include "controls/speed_button.h"
#include "controls/tcolor.h"

using controls::Label;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

QPixmap solid(const QSize& size, const QColor& colour) {
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

// A model shaped like a record set: the four fields and `rows` records.
std::unique_ptr<QStandardItemModel> recordModel(int rows,
                                                const QStringList& fields = {
                                                    "kholase", "porsesh", "pasokh", "pavaraghi"}) {
    auto model = std::make_unique<QStandardItemModel>(rows, fields.size());
    model->setHorizontalHeaderLabels(fields);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < fields.size(); ++column)
            model->setItem(row, column,
                           new QStandardItem(QStringLiteral("%1 %2").arg(fields[column]).arg(row)));
    return model;
}

// The leftmost and rightmost columns holding a pixel that `matches`, or {-1, -1}.
template <typename Match>
std::pair<int, int> columnsWhere(const QImage& image, Match matches) {
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (matches(image.pixelColor(x, y))) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void colourNumbersAreBlueGreenRed_data();
    void colourNumbersAreBlueGreenRed();
    void substituteFontsCarryPersian_data();
    void substituteFontsCarryPersian();
    void hotSpotActsOnEveryPressOfAnyButton_data();
    void hotSpotActsOnEveryPressOfAnyButton();
    void hotSpotChangesNoPixel();
    void labelClicksMovesAndLeaves();
    void labelSameColourDoesNotRepaint();
    void labelSizing_data();
    void labelSizing();
    void flatButtonFrameOnlyUnderPointer();
    void buttonPictureStandsFirstInReadingOrder_data();
    void buttonPictureStandsFirstInReadingOrder();
    void editSelectsAllUnlessEnteredByMouse_data();
    void editSelectsAllUnlessEnteredByMouse();
    void editSelectsAllWhenTabbedInto();
    void linkShowsCurrentRowAndFollowsTheModel();
    void linkReportsAMissingField();
    void gridPickGoesThroughItsOwner();
    void gridKeepsCurrentRowInSight();
    void typingAndRecordKeysReachTheModel();
    void memoFollowsReadingOrder();
    void memoScrollBars();
};

void ControlsTest::initTestCase() {
    controls::installFontSubstitutes();
}

void ControlsTest::colourNumbersAreBlueGreenRed_data() {
    QTest::addColumn<uint>("number");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("maroon 128 is red, not blue") << 128u << QColor(128, 0, 0);
    QTest::newRow("navy 8388608 is blue") << 8388608u << QColor(0, 0, 128);
    QTest::newRow("olive 32896 is red and green") << 32896u << QColor(128, 128, 0);
    QTest::newRow("teal 8421376 is green and blue") << 8421376u << QColor(0, 128, 128);
    QTest::newRow("dark green 16384") << 16384u << QColor(0, 64, 0);
    QTest::newRow("window green 13955283") << 13955283u << QColor(211, 240, 212);
    QTest::newRow("pale green 15530220") << 15530220u << QColor(236, 248, 236);
    QTest::newRow("bits above the 24 are ignored") << 0x01000080u << QColor(128, 0, 0);
}

void ControlsTest::colourNumbersAreBlueGreenRed() {
    QFETCH(uint, number);
    QFETCH(QColor, expected);
    QCOMPARE(controls::tColor(number), expected);
}

void ControlsTest::substituteFontsCarryPersian_data() {
    QTest::addColumn<QString>("family");
    QTest::newRow("Tahoma") << "Tahoma";
    QTest::newRow("MS Sans Serif") << "MS Sans Serif";
}

void ControlsTest::substituteFontsCarryPersian() {
    QFETCH(QString, family);
    for (const int pixels : {11, 12, 13, 15}) {
        const QFont font = controls::pixelFont(family, pixels);
        const QFontInfo info(font);
        QVERIFY2(controls::substitutesFor(family).contains(info.family()),
                 qPrintable(info.family()));
        QCOMPARE(info.pixelSize(), pixels);
        // The face that is picked first must itself have the Persian letters (peh, keheh,
        // Arabic yeh, alef with madda), so that captions do not fall apart into fallbacks.
        const QFontMetrics metrics(font);
        for (const char32_t letter : {U'\u067E', U'\u06A9', U'\u064A', U'\u0622', U'\u06CC'})
            QVERIFY2(metrics.inFontUcs4(letter), qPrintable(QString::number(letter, 16)));
    }
}

void ControlsTest::hotSpotActsOnEveryPressOfAnyButton_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void ControlsTest::hotSpotActsOnEveryPressOfAnyButton() {
    QFETCH(Qt::MouseButton, button);
    QWidget window;
    auto* spot = new controls::HotSpot(&window);
    spot->setGeometry(10, 10, 17, 17);
    QCOMPARE(spot->cursor().shape(), Qt::PointingHandCursor);
    QSignalSpy pressed(spot, &controls::HotSpot::pressed);
    // At the press, without waiting for the release.
    QTest::mousePress(spot, button, {}, QPoint(5, 5));
    QCOMPARE(pressed.size(), 1);
    QCOMPARE(pressed.at(0).at(0).value<Qt::MouseButton>(), button);
    QTest::mouseRelease(spot, button, {}, QPoint(5, 5));
    // The second press of a double click acts again.
    QTest::mouseDClick(spot, button, {}, QPoint(5, 5));
    QVERIFY2(pressed.size() >= 2, qPrintable(QString::number(pressed.size())));
    const qsizetype afterDoubleClick = pressed.size();
    QTest::mousePress(spot, button, {}, QPoint(5, 5));
    QCOMPARE(pressed.size(), afterDoubleClick + 1);
}

void ControlsTest::hotSpotChangesNoPixel() {
    QWidget window;
    window.resize(60, 60);
    auto* picture = new controls::Picture(&window);
    picture->setGeometry(0, 0, 60, 60);
    QImage stripes(60, 60, QImage::Format_RGB32);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) stripes.setPixelColor(x, y, QColor((x * 37) % 256, y * 4, 90));
    picture->setPixmap(QPixmap::fromImage(stripes));
    auto* spot = new controls::HotSpot(&window);
    spot->setGeometry(5, 5, 40, 40);

    spot->hide();
    const QImage without = window.grab().toImage();
    spot->show();
    const QImage with = window.grab().toImage();
    QCOMPARE(with, without);
}

void ControlsTest::labelClicksMovesAndLeaves() {
    QWidget window;
    auto* label = new Label(&window);
    label->place(QRect(10, 10, 80, 18));
    label->setText(QStringLiteral("موضوع"));
    QSignalSpy clicked(label, &Label::clicked);
    QSignalSpy moved(label, &Label::pointerMoved);
    QSignalSpy left(label, &Label::pointerLeft);

    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicked.size(), 1);
    // Released away from the label: no click. Other buttons: no click.
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(200, 5));
    QTest::mouseClick(label, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(clicked.size(), 1);

    QMouseEvent move(QEvent::MouseMove, QPointF(7, 7), label->mapToGlobal(QPointF(7, 7)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(label, &move);
    QCOMPARE(moved.size(), 1);
    QCOMPARE(moved.at(0).at(0).toPoint(), QPoint(7, 7));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(label, &leave);
    QCOMPARE(left.size(), 1);
}

void ControlsTest::labelSameColourDoesNotRepaint() {
    QWidget window;
    auto* label = new Label(&window);
    label->place(QRect(0, 0, 80, 18));
    label->setText(QStringLiteral("اعجاز"));
    label->setFontColor(QColor(128, 0, 0));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    PaintCounter paints(label);
    label->setFontColor(QColor(128, 0, 0));
    QCoreApplication::processEvents();
    QCOMPARE(paints.count, 0);
    label->setFontColor(QColor(0, 128, 0));
    QTRY_VERIFY(paints.count > 0);
    QCOMPARE(label->fontColor(), QColor(0, 128, 0));
}

void ControlsTest::labelSizing_data() {
    QTest::addColumn<Qt::LayoutDirection>("direction");
    QTest::addColumn<Label::AutoSize>("autoSize");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expectedWidth");  // -1: as wide as the text; -2: a blank's width
    const QString longText = QStringLiteral("تعداد رکورد هاي يافت شده در اين موضوع");
    QTest::newRow("fit: a count grows to the left")
        << Qt::RightToLeft << Label::AutoSize::fit << "12345" << -1;
    QTest::newRow("fit: empty measures as one blank")
        << Qt::RightToLeft << Label::AutoSize::fit << "" << -2;
    QTest::newRow("fit, left-to-right: grows to the right")
        << Qt::LeftToRight << Label::AutoSize::fit << "12345" << -1;
    QTest::newRow("grow: a short caption keeps its box")
        << Qt::RightToLeft << Label::AutoSize::grow << "وحي" << 60;
    QTest::newRow("grow: a long caption widens to the left")
        << Qt::RightToLeft << Label::AutoSize::grow << longText << -1;
    QTest::newRow("off: a long title is cut, the box stays")
        << Qt::RightToLeft << Label::AutoSize::off << longText << 60;
}

void ControlsTest::labelSizing() {
    QFETCH(Qt::LayoutDirection, direction);
    QFETCH(Label::AutoSize, autoSize);
    QFETCH(QString, text);
    QFETCH(int, expectedWidth);
    QWidget window;
    window.setLayoutDirection(direction);
    window.setFont(controls::pixelFont("Tahoma", 12));
    auto* label = new Label(&window);
    label->setAutoSize(autoSize);
    const QRect box(300, 403, 60, 14);
    label->place(box);
    label->setText(QStringLiteral("7"));
    label->setText(text);

    const QFontMetrics metrics = label->fontMetrics();
    if (expectedWidth == -1) expectedWidth = metrics.horizontalAdvance(text);
    if (expectedWidth == -2) expectedWidth = metrics.horizontalAdvance(QLatin1Char(' '));
    QCOMPARE(label->width(), expectedWidth);
    QCOMPARE(label->y(), box.y());
    if (direction == Qt::RightToLeft)
        QCOMPARE(label->geometry().right(), box.right());
    else
        QCOMPARE(label->x(), box.x());
    QVERIFY(label->height() >= box.height());
}

void ControlsTest::flatButtonFrameOnlyUnderPointer() {
    QWidget window;
    window.resize(200, 80);
    QPalette colours = window.palette();
    colours.setColor(QPalette::Window, QColor(211, 240, 212));
    window.setPalette(colours);
    window.setAutoFillBackground(true);
    auto* flat = new controls::SpeedButton(&window);
    flat->setGeometry(10, 10, 97, 28);
    flat->setText(QStringLiteral("سوال بعدي"));
    auto* raised = new controls::SpeedButton(&window);
    raised->setFlat(false);
    raised->setGeometry(120, 10, 57, 22);
    raised->setText(QStringLiteral("لغو"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseMove(window.windowHandle(), QPoint(190, 70));
    QTRY_VERIFY(!flat->underMouse());
    const QColor background(211, 240, 212);
    const auto corner = [&](QWidget* button) {
        return window.grab().toImage().pixelColor(button->geometry().topLeft());
    };
    QCOMPARE(corner(flat), background);
    QVERIFY(corner(raised) != background);  // a raised button always shows its face

    QTest::mouseMove(window.windowHandle(), flat->geometry().center());
    QTRY_VERIFY(flat->underMouse());
    QVERIFY(corner(flat) != background);

    QTest::mouseMove(window.windowHandle(), QPoint(190, 70));
    QTRY_VERIFY(!flat->underMouse());
    QCOMPARE(corner(flat), background);
}

void ControlsTest::buttonPictureStandsFirstInReadingOrder_data() {
    QTest::addColumn<Qt::LayoutDirection>("direction");
    QTest::newRow("right-to-left: picture right of the caption") << Qt::RightToLeft;
    QTest::newRow("left-to-right: picture left of the caption") << Qt::LeftToRight;
}

void ControlsTest::buttonPictureStandsFirstInReadingOrder() {
    QFETCH(Qt::LayoutDirection, direction);
    QWidget window;
    window.setLayoutDirection(direction);
    auto* button = new controls::SpeedButton(&window);
    button->setGeometry(0, 0, 97, 28);
    button->setFont(controls::pixelFont("Tahoma", 12));
    button->setFontColor(QColor(0, 0, 255));
    button->setText(QStringLiteral("سوال بعدي"));
    button->setPicture(solid(QSize(16, 16), QColor(255, 0, 0)));

    const QImage image = button->grab().toImage();
    const auto [pictureLeft, pictureRight] = columnsWhere(
        image, [](const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; });
    const auto [captionLeft, captionRight] = columnsWhere(
        image, [](const QColor& c) { return c.blue() > 150 && c.red() < 120 && c.green() < 120; });
    QVERIFY(pictureLeft >= 0 && captionLeft >= 0);
    QCOMPARE(pictureRight - pictureLeft + 1, 16);
    if (direction == Qt::RightToLeft)
        QVERIFY2(captionRight < pictureLeft,
                 qPrintable(QString("%1 %2").arg(captionRight).arg(pictureLeft)));
    else
        QVERIFY2(pictureRight < captionLeft,
                 qPrintable(QString("%1 %2").arg(pictureRight).arg(captionLeft)));
    // Picture and caption are centred together.
    const int leftMargin = std::min(pictureLeft, captionLeft);
    const int rightMargin = image.width() - 1 - std::max(pictureRight, captionRight);
    QVERIFY2(std::abs(leftMargin - rightMargin) <= 3,
             qPrintable(QString("%1 %2").arg(leftMargin).arg(rightMargin)));
}

void ControlsTest::editSelectsAllUnlessEnteredByMouse_data() {
    QTest::addColumn<Qt::FocusReason>("reason");
    QTest::addColumn<bool>("selects");
    QTest::newRow("tab") << Qt::TabFocusReason << true;
    QTest::newRow("shift+tab") << Qt::BacktabFocusReason << true;
    QTest::newRow("shortcut") << Qt::ShortcutFocusReason << true;
    QTest::newRow("given the focus by the program") << Qt::OtherFocusReason << true;
    QTest::newRow("mouse click keeps the caret where clicked") << Qt::MouseFocusReason << false;
    QTest::newRow("window activated again keeps the selection")
        << Qt::ActiveWindowFocusReason << false;
}

void ControlsTest::editSelectsAllUnlessEnteredByMouse() {
    QFETCH(Qt::FocusReason, reason);
    QFETCH(bool, selects);
    QWidget window;
    auto* edit = new controls::Edit(&window);
    edit->setText(QStringLiteral("جستجو...."));
    edit->deselect();
    QFocusEvent focusIn(QEvent::FocusIn, reason);
    QApplication::sendEvent(edit, &focusIn);
    QCOMPARE(edit->selectedText(), selects ? edit->text() : QString());
}

void ControlsTest::editSelectsAllWhenTabbedInto() {
    QWidget window;
    auto* before = new QLineEdit(&window);
    before->setGeometry(0, 0, 100, 20);
    auto* edit = new controls::Edit(&window);
    edit->setGeometry(0, 30, 100, 20);
    edit->setText(QStringLiteral("جستجو"));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), edit->text());

    before->setFocus();
    edit->deselect();
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(5, 10));
    QVERIFY(edit->hasFocus());
    QVERIFY(!edit->hasSelectedText());
}

void ControlsTest::linkShowsCurrentRowAndFollowsTheModel() {
    QWidget window;
    window.setLayoutDirection(Qt::RightToLeft);
    auto model = recordModel(3, {"KHOLASE", "porsesh", "pasokh", "pavaraghi"});
    model->setItem(2, 2, new QStandardItem(QStringLiteral("سطر يکم\r\nسطر دوم")));
    auto* title = new controls::DBText(&window);
    auto* answer = new controls::DBMemo(&window);
    auto* plain = new QLineEdit(&window);
    auto* grid = new controls::DBGrid(&window);
    grid->columnModel()->setTitle(QStringLiteral("عنوان پرسش ها"));
    controls::DataLink link(nullptr);
    link.setModel(model.get());
    link.addMapping(title, "kholase");  // field names ignore case
    link.addMapping(answer, "pasokh");
    link.addMapping(plain, "porsesh");
    link.addGrid(grid, "kholase");

    link.setCurrentRow(1);
    QCOMPARE(title->text(), QStringLiteral("KHOLASE 1"));
    QCOMPARE(answer->value(), QStringLiteral("pasokh 1"));
    QCOMPARE(plain->text(), QStringLiteral("porsesh 1"));
    QCOMPARE(grid->model()->rowCount(), 3);
    QCOMPARE(grid->currentRow(), 1);
    QCOMPARE(grid->selectionModel()->currentIndex().row(), 1);
    QVERIFY(grid->selectionModel()->isRowSelected(1, {}));

    link.setCurrentRow(2);  // stored line breaks are CR LF
    QCOMPARE(answer->document()->blockCount(), 2);
    QCOMPARE(answer->document()->findBlockByNumber(1).text(), QStringLiteral("سطر دوم"));

    model->setItem(2, 0, new QStandardItem(QStringLiteral("عنوان تازه")));
    QCOMPARE(title->text(), QStringLiteral("عنوان تازه"));

    // The rows go away (a record set closing): everything blank, the grid keeps its title.
    model->removeRows(0, 3);
    QCOMPARE(link.currentRow(), -1);
    QCOMPARE(title->text(), QString());
    QCOMPARE(answer->value(), QString());
    QCOMPARE(grid->model()->rowCount(), 0);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("عنوان پرسش ها"));

    link.setCurrentRow(7);  // a row the model does not have
    QCOMPARE(link.currentRow(), -1);
}

void ControlsTest::linkReportsAMissingField() {
    QStringList boxes;
    controls::setErrorBoxHandler([&](const QString&, const QString& text) { boxes.append(text); });
    QWidget window;
    auto* question = new controls::DBMemo(&window);
    question->setObjectName("Memopokolliyat");
    auto model = recordModel(2, {"kholase", "pasokh", "pavaraghi"});
    controls::DataLink link(nullptr);
    link.setModel(model.get());
    link.setCurrentRow(0);
    link.addMapping(question, "porsesh");
    QCOMPARE(boxes, QStringList{"Memopokolliyat: Field 'porsesh' not found."});
    QCOMPARE(question->value(), QString());

    // A model without fields (a closed record set) has nothing to miss yet.
    QStandardItemModel closed;
    controls::DataLink closedLink(nullptr);
    closedLink.setModel(&closed);
    closedLink.addMapping(question, "porsesh");
    QCOMPARE(boxes.size(), 1);
    controls::setErrorBoxHandler({});
}

void ControlsTest::gridPickGoesThroughItsOwner() {
    QWidget window;
    window.resize(300, 300);
    window.setLayoutDirection(Qt::RightToLeft);
    auto model = recordModel(5);
    auto* title = new controls::DBText(&window);
    auto* grid = new controls::DBGrid(&window);
    grid->setGeometry(10, 10, 169, 211);
    controls::DataLink link(nullptr);
    link.setModel(model.get());
    link.addMapping(title, "kholase");
    link.addGrid(grid, "kholase");
    QSignalSpy picked(&link, &controls::DataLink::rowPicked);
    link.setCurrentRow(0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(picked.isEmpty());  // moves from outside are not picks

    // The owner of the rows answers a pick by moving there.
    connect(&link, &controls::DataLink::rowPicked, &link, &controls::DataLink::setCurrentRow);
    const QRect cell = grid->visualRect(grid->model()->index(2, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(picked.size(), 1);
    QCOMPARE(picked.at(0).at(0).toInt(), 2);
    QCOMPARE(title->text(), QStringLiteral("kholase 2"));
    QCOMPARE(grid->currentRow(), 2);

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(picked.size(), 2);
    QCOMPARE(title->text(), QStringLiteral("kholase 3"));
}

void ControlsTest::gridKeepsCurrentRowInSight() {
    QWidget window;
    window.resize(300, 300);
    auto model = recordModel(100);
    auto* grid = new controls::DBGrid(&window);
    grid->setGeometry(10, 10, 169, 211);
    controls::DataLink link(nullptr);
    link.setModel(model.get());
    link.addGrid(grid, "kholase");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const int row : {99, 40, 0}) {
        link.setCurrentRow(row);
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QVERIFY2(grid->viewport()->rect().contains(cell), qPrintable(QString::number(row)));
    }
}

void ControlsTest::typingAndRecordKeysReachTheModel() {
    // Counts the reverts that Escape asks for.
    class RevertCounting : public QStandardItemModel {
    public:
        using QStandardItemModel::QStandardItemModel;
        void revert() override { ++reverts; }
        int reverts = 0;
    };
    RevertCounting model(3, 4);
    model.setHorizontalHeaderLabels({"kholase", "porsesh", "pasokh", "pavaraghi"});
    QWidget window;
    auto* grid = new controls::DBGrid(&window);
    auto* memo = new controls::DBMemo(&window);
    auto* after = new QLineEdit(&window);
    controls::DataLink link(nullptr);
    link.setModel(&model);
    link.addGrid(grid, "kholase");
    link.addMapping(memo, "pasokh");
    link.setCurrentRow(2);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // A cell edit and a pane's typing land in the model, keystroke by keystroke; the pane
    // keeps its caret while the model echoes the text back.
    QVERIFY(grid->model()->setData(grid->model()->index(2, 0), QStringLiteral("ويرايش")));
    QCOMPARE(model.item(2, 0)->text(), QStringLiteral("ويرايش"));
    memo->setFocus();
    QTest::keyClicks(memo, "ab");
    QTest::keyClick(memo, Qt::Key_Left);
    QTest::keyClick(memo, Qt::Key_Return);
    QCOMPARE(model.item(2, 2)->text(), QStringLiteral("a\r\nb"));
    QCOMPARE(memo->textCursor().position(), 2);

    QSignalSpy inserts(&link, &controls::DataLink::insertRequested);
    QSignalSpy deletes(&link, &controls::DataLink::deleteRequested);
    QTest::keyClick(memo, Qt::Key_Escape);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Escape);
    QCOMPARE(model.reverts, 2);
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_Down);  // on the last row
    QCOMPARE(inserts.count(), 2);

    bool confirmed = false;
    QStringList questions;
    controls::setConfirmBoxHandler([&](const QString& caption, const QString& text) {
        questions << caption + ": " + text;
        return confirmed;
    });
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    confirmed = true;
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    controls::setConfirmBoxHandler({});
    QCOMPARE(questions, QStringList({"Confirm: Delete record?", "Confirm: Delete record?"}));
    QCOMPARE(deletes.count(), 1);

    // Tab leaves the grid without moving its current row.
    QSignalSpy picked(&link, &controls::DataLink::rowPicked);
    link.setCurrentRow(0);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    QCOMPARE(picked.count(), 0);
    QVERIFY(!grid->hasFocus());
    Q_UNUSED(after);
}

void ControlsTest::memoFollowsReadingOrder() {
    QWidget window;
    window.setLayoutDirection(Qt::RightToLeft);
    window.resize(400, 200);
    auto* memo = new controls::DBMemo(&window);
    memo->setGeometry(0, 0, 300, 100);
    // A paragraph starting with Latin letters still starts at the right edge.
    memo->setValue(QStringLiteral("Latin first, then پاسخ"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRectF line = memo->document()->firstBlock().layout()->lineAt(0).naturalTextRect();
    QVERIFY2(line.left() > memo->viewport()->width() / 2, qPrintable(QString::number(line.left())));
    QCOMPARE(memo->document()->firstBlock().textDirection(), Qt::RightToLeft);
}

void ControlsTest::memoScrollBars() {
    QWidget window;
    window.setLayoutDirection(Qt::RightToLeft);
    window.resize(600, 300);
    QString longText;
    for (int line = 0; line < 40; ++line)
        longText += QStringLiteral("سطر شماره %1 از پاسخ\n").arg(line);
    auto* answer = new controls::DBMemo(&window);
    answer->setGeometry(32, 10, 521, 120);
    answer->setValue(longText);
    auto* question = new controls::DBMemo(&window);
    question->setVerticalScrollBarShown(false);
    question->setGeometry(32, 150, 513, 97);
    question->setValue(longText);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QVERIFY(answer->verticalScrollBar()->isVisible());
    const int barLeft = answer->verticalScrollBar()->mapTo(answer, QPoint(0, 0)).x();
    QVERIFY2(barLeft < answer->width() / 2, qPrintable(QString::number(barLeft)));
    QVERIFY(!answer->horizontalScrollBar()->isVisible());
    QVERIFY(!question->verticalScrollBar()->isVisible());
    QVERIFY(!question->horizontalScrollBar()->isVisible());
}

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
