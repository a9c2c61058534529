#include "controls/find_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace controls {

FindDialog::FindDialog(QWidget* parent) : QDialog(parent) {
    // A window takes the application's reading order unless told otherwise; this one reads
    // like the window it belongs to.
    if (parent != nullptr) setLayoutDirection(parent->layoutDirection());
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);

    auto* caption = new QLabel(QStringLiteral("Fi&nd what:"), this);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setMaxLength(kMaxFindTextLength);
    caption->setBuddy(m_text);

    m_wholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    m_wholeWord->setObjectName(QStringLiteral("wholeWord"));
    m_matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    m_matchCase->setObjectName(QStringLiteral("matchCase"));

    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    m_up = new QRadioButton(QStringLiteral("&Up"), direction);
    m_up->setObjectName(QStringLiteral("up"));
    m_down = new QRadioButton(QStringLiteral("&Down"), direction);
    m_down->setObjectName(QStringLiteral("down"));
    m_down->setChecked(true);
    auto* directionRow = new QHBoxLayout(direction);
    directionRow->addWidget(m_up);
    directionRow->addWidget(m_down);

    m_findNext = new QPushButton(QStringLiteral("&Find Next"), this);
    m_findNext->setObjectName(QStringLiteral("findNextButton"));
    m_findNext->setDefault(true);
    m_findNext->setEnabled(false);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));

    auto* textRow = new QHBoxLayout;
    textRow->addWidget(caption);
    textRow->addWidget(m_text, 1);
    auto* checks = new QVBoxLayout;
    checks->addStretch(1);
    checks->addWidget(m_wholeWord);
    checks->addWidget(m_matchCase);
    auto* optionsRow = new QHBoxLayout;
    optionsRow->addLayout(checks);
    optionsRow->addWidget(direction);
    auto* fields = new QVBoxLayout;
    fields->addLayout(textRow);
    fields->addLayout(optionsRow);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    auto* whole = new QHBoxLayout(this);
    whole->addLayout(fields, 1);
    whole->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(m_text, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_findNext->setEnabled(!text.isEmpty()); });
    connect(m_findNext, &QPushButton::clicked, this, [this] {
        // A press with nothing to find (Enter in an empty box) is not reported.
        if (!m_text->text().isEmpty()) Q_EMIT findNext(m_text->text());
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindDialog::findText() const {
    return m_text->text();
}

void FindDialog::setFindText(const QString& text) {
    m_text->setText(text);
}

FindDialog::Direction FindDialog::direction() const {
    return m_up->isChecked() ? Direction::up : Direction::down;
}

void FindDialog::setDirection(Direction direction) {
    (direction == Direction::up ? m_up : m_down)->setChecked(true);
}

bool FindDialog::matchCase() const {
    return m_matchCase->isChecked();
}

void FindDialog::setMatchCase(bool on) {
    m_matchCase->setChecked(on);
}

bool FindDialog::wholeWord() const {
    return m_wholeWord->isChecked();
}

void FindDialog::setWholeWord(bool on) {
    m_wholeWord->setChecked(on);
}

void FindDialog::present() {
    show();
    raise();
    activateWindow();
    m_text->setFocus(Qt::OtherFocusReason);
    m_text->selectAll();
}

}  // namespace controls
