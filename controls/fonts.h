#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace controls {

// The families the windows name that a Linux desktop does not have, each with the installed
// families that stand in for it, tried in order. All of them carry Persian.
QStringList substitutesFor(const QString& family);

// Registers the substitutes with Qt's font matching. Call once at start-up, before the first
// window is built.
void installFontSubstitutes();

// A font of `family` whose characters are `pixelHeight` pixels high (a height of the window
// definitions, at 96 dots per inch).
QFont pixelFont(const QString& family, int pixelHeight);

}  // namespace controls
