// The pictures the windows load by resource path: each one is linked in, loads, and has the
// size its window lays controls over; the backgrounds leave the controls' areas clean.

#include <algorithm>
#include <cstdlib>
#include <optional>

#include <QColor>
#include <QImage>
#include <QRect>
#include <QtTest>

namespace {

// JPEG blurs colours a little; anything drawn into an area (a frame line, a heading) is far
// further off than this.
constexpr int kJpegTolerance = 8;

int colourDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The first pixel of `area` further than the tolerance from `expected`, if any.
std::optional<QPoint> firstStrayPixel(const QImage& image, const QRect& area, QRgb expected) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (colourDistance(image.pixel(x, y), expected) > kJpegTolerance) {
                return QPoint(x, y);
            }
        }
    }
    return std::nullopt;
}

QImage load(const QString& path) {
    QImage image(path);
    if (image.isNull()) {
        qWarning("cannot load %s", qPrintable(path));
    }
    return image;
}

}  // namespace

class AssetsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyPictureLoadsAtItsSize_data();
    void everyPictureLoadsAtItsSize();
    void controlAreasAreClean_data();
    void controlAreasAreClean();
    void markerCornersMatchEveryMenuSlot();
};

void AssetsTest::everyPictureLoadsAtItsSize_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    // Glyphs, logos and the icon are drawn over buttons, panels and the desktop: their corners
    // must be clear.
    QTest::addColumn<bool>("clearCorners");

    const struct {
        const char* path;
        QSize size;
        bool clearCorners;
    } rows[] = {
        {":/assets/main_background.jpg", {865, 682}, false},
        {":/assets/marker.jpg", {165, 28}, false},
        {":/assets/search_panel.jpg", {255, 368}, false},
        {":/assets/next.png", {16, 16}, true},
        {":/assets/prior.png", {16, 16}, true},
        {":/assets/first.png", {16, 16}, true},
        {":/assets/last.png", {16, 16}, true},
        {":/assets/settings.png", {16, 16}, true},
        {":/assets/advanced_search.png", {24, 24}, true},
        {":/assets/intro_background.jpg", {450, 478}, false},
        {":/assets/intro_panel.jpg", {285, 376}, false},
        {":/assets/centres_panel.jpg", {408, 478}, false},
        {":/assets/centre_logo_1.png", {146, 108}, true},
        {":/assets/centre_logo_2.png", {146, 108}, true},
        {":/assets/centre_logo_3.png", {146, 108}, true},
        {":/assets/centre_logo_4.png", {146, 108}, true},
        {":/assets/centre_logo_5.png", {146, 108}, true},
        {":/assets/centre_logo_6.png", {146, 108}, true},
        {":/assets/centre_logo_7.png", {146, 108}, true},
        {":/assets/centre_logo_8.png", {146, 108}, true},
        {":/assets/icon_48.png", {48, 48}, true},
    };
    for (const auto& row : rows) {
        QTest::newRow(row.path) << QString::fromLatin1(row.path) << row.size << row.clearCorners;
    }
}

void AssetsTest::everyPictureLoadsAtItsSize() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(bool, clearCorners);

    const QImage image = load(path);
    QVERIFY2(!image.isNull(), qPrintable(path + " is not in the resources or cannot be read"));
    QCOMPARE(image.size(), size);
    if (clearCorners) {
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(image.depth(), 32);
        const int r = image.width() - 1;
        const int b = image.height() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)}) {
            QCOMPARE(qAlpha(image.pixel(corner)), 0);
        }
    }
}

void AssetsTest::controlAreasAreClean_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QRect>("area");
    // The colour the area must have; an invalid colour asks only for one even colour.
    QTest::addColumn<QColor>("colour");

    const QString browsing = QStringLiteral(":/assets/main_background.jpg");
    const QString intro = QStringLiteral(":/assets/intro_background.jpg");
    const QColor paneGreen(211, 240, 212);  // the memos' own background
    const QColor editGreen(236, 248, 236);  // the filter box's background
    QTest::newRow("question memo lies on its own colour")
        << browsing << QRect(40, 152, 513, 97) << paneGreen;
    QTest::newRow("answer memo lies on its own colour")
        << browsing << QRect(32, 272, 521, 201) << paneGreen;
    QTest::newRow("footnote memo lies on its own colour")
        << browsing << QRect(40, 496, 513, 97) << paneGreen;
    QTest::newRow("filter box lies on its own colour")
        << browsing << QRect(704, 376, 106, 19) << editGreen;
    QTest::newRow("title line is plain behind the transparent title")
        << browsing << QRect(288, 120, 217, 17) << QColor();
    QTest::newRow("step buttons row is plain") << browsing << QRect(40, 611, 505, 28) << QColor();
    QTest::newRow("book-introduction label sits in a plain slot")
        << intro << QRect(285, 317, 75, 18) << QColor();
    QTest::newRow("answering-centres label sits in a plain slot")
        << intro << QRect(88, 317, 84, 18) << QColor();
    QTest::newRow("entry label sits in a plain slot")
        << intro << QRect(188, 363, 81, 18) << QColor();
    QTest::newRow("publisher link and version lie on plain ground")
        << intro << QRect(179, 456, 133, 16) << QColor();
}

void AssetsTest::controlAreasAreClean() {
    QFETCH(QString, picture);
    QFETCH(QRect, area);
    QFETCH(QColor, colour);

    const QImage background = load(picture);
    QVERIFY(!background.isNull());
    const QRgb expected = colour.isValid() ? colour.rgb() : background.pixel(area.center());
    const std::optional<QPoint> stray = firstStrayPixel(background, area, expected);
    if (stray) {
        QFAIL(
            qPrintable(QStringLiteral("pixel %1,%2 is %3, expected %4")
                           .arg(stray->x())
                           .arg(stray->y())
                           .arg(QColor(background.pixel(*stray)).name(), QColor(expected).name())));
    }
}

void AssetsTest::markerCornersMatchEveryMenuSlot() {
    // The marker is an opaque JPEG moved between the six menu slots: outside its rounded bar it
    // must show what the background has around each slot, or its square corners show.
    const QImage background = load(QStringLiteral(":/assets/main_background.jpg"));
    const QImage marker = load(QStringLiteral(":/assets/marker.jpg"));
    QVERIFY(!background.isNull() && !marker.isNull());
    constexpr int kLeft = 658;
    for (const int top : {107, 142, 176, 210, 243, 277}) {
        for (const QPoint corner : {QPoint(0, 0), QPoint(164, 0), QPoint(0, 27), QPoint(164, 27)}) {
            const QRgb onMarker = marker.pixel(corner);
            const QRgb onBackground = background.pixel(corner + QPoint(kLeft, top));
            QVERIFY2(colourDistance(onMarker, onBackground) <= kJpegTolerance,
                     qPrintable(QStringLiteral("slot at top %1, corner %2,%3: %4 against %5")
                                    .arg(top)
                                    .arg(corner.x())
                                    .arg(corner.y())
                                    .arg(QColor(onMarker).name(), QColor(onBackground).name())));
        }
    }
}

QTEST_GUILESS_MAIN(AssetsTest)
#include "assets_test.moc"
