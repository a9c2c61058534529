// Find in answer text: the find button opens the find dialog of the topic on screen, and each
// Find Next looks for the dialog's text in that topic's answer pane.
#include <array>
#include <utility>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "browser/Unit1.h"
#include "controls/db_memo.h"
#include "controls/error_box.h"
#include "controls/find_dialog.h"

namespace browser {

namespace {

// The pane's text as the find function counts it: its lines joined with CR LF, nothing after
// the last line. The document keeps each line as a block whatever break the record held.
QString countedText(const controls::DBMemo& memo) {
    QString text;
    for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next()) {
        if (block != memo.document()->begin()) text += QStringLiteral("\r\n");
        text += block.text();
    }
    return text;
}

// The document position of a 0-based offset into the counted text: every CR LF before it is
// one character in the document.
int documentPosition(const QString& counted, int offset) {
    return offset - static_cast<int>(QStringView(counted).left(offset).count(u"\r\n"));
}

// Selects `length` characters from 0-based `offset` of the counted text and scrolls the pane
// so that the selection is in view; the caret ends the selection.
void selectCounted(controls::DBMemo& memo, const QString& counted, int offset, int length) {
    QTextCursor cursor(memo.document());
    cursor.setPosition(documentPosition(counted, offset));
    cursor.setPosition(documentPosition(counted, offset + length), QTextCursor::KeepAnchor);
    memo.setTextCursor(cursor);
    memo.ensureCursorVisible();
}

QString noOccurrenceMessage(const QString& findText, bool continued) {
    const QString quoted = QLatin1Char('"') + findText + QLatin1Char('"');
    return (continued ? QStringLiteral("There are no further occurences of ")
                      : QStringLiteral("Could not find ")) +
           quoted + QStringLiteral(" in Memo1.");
}

}  // namespace

void Tmain::buildFindDialogs() {
    std::array<std::pair<controls::FindDialog**, const char*>, 6> dialogs = {{
        {&FindDialog1, "FindDialog1"},
        {&FindDialog2, "FindDialog2"},
        {&FindDialog3, "FindDialog3"},
        {&FindDialog4, "FindDialog4"},
        {&FindDialog5, "FindDialog5"},
        {&FindDialog6, "FindDialog6"},
    }};
    for (auto& [dialog, name] : dialogs) {
        *dialog = new controls::FindDialog(this);
        (*dialog)->setObjectName(QString::fromLatin1(name));
    }
}

void Tmain::openFindDialog() {
    // The answer panes in the order of the active-view rule, each with its topic's dialog.
    const std::array<std::pair<controls::DBMemo*, controls::FindDialog*>, 6> order = {{
        {Memopakolliyat, FindDialog1},
        {Memopamostahab, FindDialog2},
        {Memopamoghadamat, FindDialog3},
        {Memopanamaz, FindDialog4},
        {Memopavajeb, FindDialog5},
        {Memopamotefar, FindDialog6},
    }};
    for (const auto& [memo, dialog] : order) {
        if (!memo->isHidden()) {
            dialog->present();
            return;
        }
    }
}

void Tmain::findInAnswer(controls::DBMemo* memo, const QString& findText) {
    const QString text = countedText(*memo);
    // A search goes on from the last occurrence only where that occurrence was found: in the
    // same pane, still holding the same text. Anywhere else the old position would skip
    // occurrences, so the search starts over at the beginning.
    const bool continued = FindPos != 0 && m_lastMatch.memo == memo && m_lastMatch.text == text;
    const qsizetype start = continued ? qsizetype(FindPos) + findText.size() : 1;  // 1-based
    const qsizetype found = findText.isEmpty() || start > text.size()
                                ? -1
                                : text.indexOf(findText, start - 1, Qt::CaseSensitive);
    if (found < 0) {
        FindPos = 0;
        m_lastMatch = {};
        controls::showErrorBox(noOccurrenceMessage(findText, continued));
        return;
    }
    FindPos = static_cast<int>(found) + 1;
    m_lastMatch = {memo, text};
    selectCounted(*memo, text, static_cast<int>(found), static_cast<int>(findText.size()));
    // A pane whose topic is no longer on screen (its dialog stayed open) keeps the selection
    // but cannot take the focus.
    if (!memo->isHidden()) {
        memo->activateWindow();
        memo->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace browser
