#include "controls/fonts.h"

namespace controls {

namespace {
// Noto Sans Arabic UI keeps the compact line height of a user-interface face, so captions fit
// the heights the windows were laid out for; its Persian letters are about as wide as those of
// the face the windows were drawn with. It has no Latin letters: those come from Noto Sans.
// DejaVu Sans is the last resort; it also has the Persian letters, only wider.
const QStringList& chain() {
    static const QStringList families = {QStringLiteral("Noto Sans Arabic UI"),
                                         QStringLiteral("Noto Sans"),
                                         QStringLiteral("DejaVu Sans")};
    return families;
}
}  // namespace

QStringList substitutesFor(const QString& family) {
    if (family.compare(QLatin1String("Tahoma"), Qt::CaseInsensitive) == 0 ||
        family.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0)
        return chain();
    return {};
}

void installFontSubstitutes() {
    for (const char* family : {"Tahoma", "MS Sans Serif"})
        QFont::insertSubstitutions(QString::fromLatin1(family),
                                   substitutesFor(QString::fromLatin1(family)));
}

QFont pixelFont(const QString& family, int pixelHeight) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    return font;
}

}  // namespace controls
