#include "controls/db_memo.h"

#include <QEvent>
#include <QKeyEvent>
#include <QTextDocument>
#include <QTextOption>

namespace controls {

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarShown(true);
    setTabChangesFocus(true);
    followReadingOrder();
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_settingValue) Q_EMIT edited();
    });
}

QString DBMemo::value() const {
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void DBMemo::setValue(const QString& value) {
    QString normal = value;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (normal == toPlainText()) return;
    m_settingValue = true;
    setPlainText(normal);
    m_settingValue = false;
}

void DBMemo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Q_EMIT cancelRequested();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void DBMemo::setVerticalScrollBarShown(bool shown) {
    setVerticalScrollBarPolicy(shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

QColor DBMemo::backgroundColor() const {
    return palette().color(QPalette::Base);
}

void DBMemo::setBackgroundColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, color);
    setPalette(colours);
}

QColor DBMemo::fontColor() const {
    return palette().color(QPalette::Text);
}

void DBMemo::setFontColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(QPalette::Text, color);
    setPalette(colours);
}

void DBMemo::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::LayoutDirectionChange) followReadingOrder();
}

void DBMemo::followReadingOrder() {
    // Left to itself every paragraph takes its direction from its first letter, which would set
    // a line that starts with a Latin word or a digit flush left. The plain-text layout takes
    // the alignment literally, so right-to-left needs AlignRight spelled out.
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(layoutDirection());
    option.setAlignment(Qt::AlignAbsolute |
                        (layoutDirection() == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft));
    document()->setDefaultTextOption(option);
}

}  // namespace controls
