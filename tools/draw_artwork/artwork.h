#pragma once

// Every picture of the program, each drawn at its final size. The windows place controls over
// the backgrounds at fixed pixel positions, so the frames and slots here follow those positions.

#include <QImage>

namespace art {

// Browsing window.
QImage browsingBackground();   // 865x682, the whole window
QImage topicMarker();          // 165x28, lies in the menu slot of the selected topic
QImage searchPanel();          // 255x368, the advanced-search panel
QImage settingsGlyph();        // 16x16, blue gear wheel
QImage advancedSearchGlyph();  // 24x24, open blue book with a magnifying glass

// The record step buttons' 16x16 glyphs: a green disc with a white triangle.
enum class StepGlyph {
    Next,   // triangle pointing right
    Prior,  // triangle pointing left
    First,  // triangle pointing right against a bar
    Last,   // a bar and a triangle pointing left
};
QImage stepGlyph(StepGlyph kind);

// Intro window and its panels.
QImage introBackground();    // 450x478
QImage introPanel();         // 285x376, book introduction
QImage centresPanel();       // 408x478, answering centres (shown stretched to 409x464)
QImage centreLogo(int row);  // 146x108, rows 1 to 8; row 8 is the publisher's

QImage programIcon();  // 48x48 with alpha

}  // namespace art
