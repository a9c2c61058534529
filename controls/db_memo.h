#pragma once

#include <QColor>
#include <QPlainTextEdit>

namespace controls {

// A data-bound multi-line pane: word wrap, no frame, laid out in the widget's reading order
// (in right-to-left the text is right-aligned and the scroll bar sits on the left edge). Tab
// moves the focus on instead of typing a tab. A DataLink fills `value` and hears of what the
// user types through `edited`; Escape asks for the typing to be dropped (`cancelRequested`).
// `value` has CR LF line breaks, as the collection stores them.
class DBMemo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString value READ value WRITE setValue USER true)
    Q_DISABLE_COPY_MOVE(DBMemo)

public:
    explicit DBMemo(QWidget* parent);

    QString value() const;
    // Line breaks may be CR LF or LF. Setting the value the pane already holds changes nothing,
    // so the caret stays where the user left it.
    void setValue(const QString& value);

    // A vertical scroll bar that is always there (greyed while nothing scrolls), or none at
    // all, so that the pane scrolls only with the caret. There is never a horizontal one.
    void setVerticalScrollBarShown(bool shown);

    QColor backgroundColor() const;
    void setBackgroundColor(const QColor& color);
    QColor fontColor() const;
    void setFontColor(const QColor& color);

Q_SIGNALS:
    // The user changed the text (typing, pasting, undo); not sent for setValue.
    void edited();
    void cancelRequested();

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void followReadingOrder();

    bool m_settingValue = false;
};

}  // namespace controls
