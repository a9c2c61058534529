// Advanced search: a panel over the lower right of the window that searches the whole
// collection in the question or in the answer, lists the titles found and shows the current
// one in the advanced-search view.
#include <QGroupBox>
#include <QRadioButton>

#include "browser/Unit1.h"
#include "browser/window_colours.h"
#include "content/record_set.h"
#include "controls/db_grid.h"
#include "controls/db_memo.h"
#include "controls/db_text.h"
#include "controls/edit.h"
#include "controls/fonts.h"
#include "controls/panel.h"
#include "controls/speed_button.h"
#include "controls/tcolor.h"

namespace browser {

using controls::tColor;

void Tmain::buildSearchPanel() {
    // Above the picture and the results grid, which the window builds first.
    GroupBox1 = new QGroupBox(QStringLiteral("  تنظيمات   "), Panel1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(40, 96, 193, 89);
    QPalette boxColours = GroupBox1->palette();
    boxColours.setColor(QPalette::Window, tColor(kWindowGreen));
    GroupBox1->setPalette(boxColours);
    GroupBox1->setAutoFillBackground(true);

    RadioButton1 = new QRadioButton(QStringLiteral("جستجو در پرسش"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(72, 16, 113, 17);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("جستجو در پاسخ"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(72, 40, 113, 17);
    // Tab reaches the group through its checked button only; the button keeps that true as
    // the check moves.
    RadioButton2->setFocusPolicy(Qt::FocusPolicy(Qt::StrongFocus & ~Qt::TabFocus));

    SpeedButton9 = new controls::SpeedButton(GroupBox1);
    SpeedButton9->setObjectName(QStringLiteral("SpeedButton9"));
    SpeedButton9->setFlat(false);
    SpeedButton9->setText(QStringLiteral("جستجو"));
    SpeedButton9->setGeometry(120, 62, 49, 22);
    SpeedButton10 = new controls::SpeedButton(GroupBox1);
    SpeedButton10->setObjectName(QStringLiteral("SpeedButton10"));
    SpeedButton10->setFlat(false);
    SpeedButton10->setText(QStringLiteral("لغو"));
    SpeedButton10->setGeometry(32, 62, 57, 22);

    ebarat = new controls::Edit(Panel1);
    ebarat->setObjectName(QStringLiteral("ebarat"));
    ebarat->setGeometry(56, 61, 143, 22);
    ebarat->setFrame(false);
    ebarat->setFont(controls::pixelFont(kTahoma, 12));
    QPalette editColours = ebarat->palette();
    editColours.setColor(QPalette::Base, tColor(kPaleGreen));
    editColours.setColor(QPalette::Text, tColor(kOlive));
    ebarat->setPalette(editColours);
    ebarat->setText(QStringLiteral("جستجو"));
}

void Tmain::openSearchPanel() {
    Panel1->show();
    if (!isActiveWindow()) activateWindow();
    ebarat->setFocus(Qt::OtherFocusReason);
    // The box selects its text as it takes the focus; while the window is not yet active the
    // focus arrives only later, so the text is selected here as well.
    ebarat->selectAll();
    Memopazertol->show();
    Memopozertol->show();
    Memomazertol->show();
    DBTextzertol->show();
    for (int topic = 1; topic <= content::kTopicCount; ++topic)
        setViewShown(view(content::topicSource(topic)), false);
}

void Tmain::searchCollection() {
    const QString text = ebarat->text();
    if (text.isEmpty()) return;
    content::RecordSet& results = m_store->recordSet(content::Source::advancedSearch);
    if (RadioButton1->isChecked())
        results.questionSearch(text);
    else if (RadioButton2->isChecked())
        results.answerSearch(text);
    Memopazertol->show();
    Memopozertol->show();
    Memomazertol->show();
    DBTextzertol->show();
    for (int topic = 1; topic <= content::kTopicCount; ++topic)
        view(content::topicSource(topic)).title->hide();
}

void Tmain::closeSearchPanel() {
    Panel1->hide();
    switchTopic(1);
}

}  // namespace browser
