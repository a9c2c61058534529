// Answer font settings: the settings button lets the user choose the font of the answer pane
// on screen, through that view's own font dialog.
#include <array>
#include <utility>

#include "browser/Unit1.h"
#include "controls/db_memo.h"
#include "controls/font_dialog.h"

namespace browser {

namespace {

// Gives the pane the dialog's font name, size, colour and style, in that order; everything
// else of the pane's font (its character set, hinting, spacing) stays. The size in points
// becomes a character height at the screen's pixels per inch.
void giveAnswerFont(controls::DBMemo& memo, const controls::FontDialog& dialog) {
    const QFont chosen = dialog.selectedFont();
    QFont font = memo.font();
    font.setFamily(chosen.family());
    font.setPixelSize(qRound(chosen.pointSize() * memo.logicalDpiY() / 72.0));
    memo.setFontColor(dialog.selectedColor());
    font.setBold(chosen.bold());
    font.setItalic(chosen.italic());
    font.setUnderline(chosen.underline());
    font.setStrikeOut(chosen.strikeOut());
    memo.setFont(font);
}

}  // namespace

void Tmain::buildFontDialogs() {
    std::array<std::pair<controls::FontDialog**, const char*>, 7> dialogs = {{
        {&FontDialog1, "FontDialog1"},
        {&FontDialog2, "FontDialog2"},
        {&FontDialog3, "FontDialog3"},
        {&FontDialog4, "FontDialog4"},
        {&FontDialog5, "FontDialog5"},
        {&FontDialog6, "FontDialog6"},
        {&FontDialog7, "FontDialog7"},
    }};
    for (auto& [dialog, name] : dialogs) {
        *dialog = new controls::FontDialog(this);
        (*dialog)->setObjectName(QString::fromLatin1(name));
    }
}

void Tmain::chooseAnswerFont() {
    // The views in catalogue order, the advanced search last. A pane not on screen, or a
    // dialog cancelled, passes on to the next; only one pane is ever on screen.
    const std::array<std::pair<controls::DBMemo*, controls::FontDialog*>, 7> order = {{
        {Memopakolliyat, FontDialog1},
        {Memopamoghadamat, FontDialog2},
        {Memopavajeb, FontDialog3},
        {Memopamostahab, FontDialog4},
        {Memopanamaz, FontDialog5},
        {Memopamotefar, FontDialog6},
        {Memopazertol, FontDialog7},
    }};
    for (const auto& [memo, dialog] : order) {
        if (!memo->isHidden() && dialog->execute()) {
            giveAnswerFont(*memo, *dialog);
            return;
        }
    }
}

}  // namespace browser
