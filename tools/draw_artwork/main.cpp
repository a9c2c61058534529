// draw_artwork: draws every picture of the program into a folder.
//
//   draw_artwork OUTPUT_FOLDER
//
// The build runs it and embeds the result in the `assets` library, so a picture is changed by
// changing the code here. Runs headless: without a display it uses the offscreen platform.

#include <cstdio>
#include <functional>
#include <vector>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include "artwork.h"

namespace {

struct Picture {
    const char* fileName;
    int width;
    int height;
    std::function<QImage()> draw;
    int jpegQuality = 92;  // ignored for PNG
};

// The marker is moved over the background: its corners must match what lies around each menu
// slot, so it is stored with as little loss as JPEG allows (it is tiny).
constexpr int kMarkerJpegQuality = 100;

std::vector<Picture> allPictures() {
    using art::StepGlyph;
    std::vector<Picture> pictures{
        {"main_background.jpg", 865, 682, art::browsingBackground},
        {"marker.jpg", 165, 28, art::topicMarker, kMarkerJpegQuality},
        {"search_panel.jpg", 255, 368, art::searchPanel},
        {"next.png", 16, 16, [] { return art::stepGlyph(StepGlyph::Next); }},
        {"prior.png", 16, 16, [] { return art::stepGlyph(StepGlyph::Prior); }},
        {"first.png", 16, 16, [] { return art::stepGlyph(StepGlyph::First); }},
        {"last.png", 16, 16, [] { return art::stepGlyph(StepGlyph::Last); }},
        {"settings.png", 16, 16, art::settingsGlyph},
        {"advanced_search.png", 24, 24, art::advancedSearchGlyph},
        {"intro_background.jpg", 450, 478, art::introBackground},
        {"intro_panel.jpg", 285, 376, art::introPanel},
        {"centres_panel.jpg", 408, 478, art::centresPanel},
        {"icon_48.png", 48, 48, art::programIcon},
    };
    static const char* const logoNames[] = {
        "centre_logo_1.png", "centre_logo_2.png", "centre_logo_3.png", "centre_logo_4.png",
        "centre_logo_5.png", "centre_logo_6.png", "centre_logo_7.png", "centre_logo_8.png"};
    for (int row = 1; row <= 8; ++row) {
        pictures.push_back({logoNames[row - 1], 146, 108, [row] { return art::centreLogo(row); }});
    }
    return pictures;
}

bool writePicture(const QDir& folder, const Picture& picture) {
    const QImage image = picture.draw();
    if (image.width() != picture.width || image.height() != picture.height) {
        std::fprintf(stderr, "draw_artwork: %s drawn at %dx%d, expected %dx%d\n", picture.fileName,
                     image.width(), image.height(), picture.width, picture.height);
        return false;
    }
    const QString path = folder.filePath(QString::fromLatin1(picture.fileName));
    const bool jpeg = path.endsWith(QLatin1String(".jpg"));
    // JPEG has no alpha: flatten to plain RGB so the encoder never sees an alpha channel.
    const QImage out = jpeg ? image.convertToFormat(QImage::Format_RGB32) : image;
    if (!out.save(path, jpeg ? "JPG" : "PNG", jpeg ? picture.jpegQuality : -1)) {
        std::fprintf(stderr, "draw_artwork: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);

    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: draw_artwork OUTPUT_FOLDER\n");
        return 2;
    }
    QDir folder(arguments.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "draw_artwork: cannot create %s\n", qPrintable(arguments.at(1)));
        return 1;
    }

    bool ok = true;
    for (const Picture& picture : allPictures()) {
        ok = writePicture(folder, picture) && ok;
    }
    return ok ? 0 : 1;
}
