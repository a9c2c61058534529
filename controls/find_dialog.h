#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace controls {

// A modeless find dialog: a find text of at most 255 characters, a direction (Up or Down, Down
// chosen at first), match case and whole word (both off at first), Find Next and Cancel. It
// takes its reading order from the window that owns it, stays above that window, and keeps
// its text and options while it is closed, so that opening it again shows what it was last
// given. It finds nothing itself: each press of Find Next (or Enter) is reported through
// findNext with the text as it stands. Find Next is disabled while the text is empty.
class FindDialog : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FindDialog)

public:
    static constexpr int kMaxFindTextLength = 255;

    enum class Direction { up, down };

    explicit FindDialog(QWidget* parent);

    QString findText() const;
    void setFindText(const QString& text);

    Direction direction() const;
    void setDirection(Direction direction);
    bool matchCase() const;
    void setMatchCase(bool on);
    bool wholeWord() const;
    void setWholeWord(bool on);

    // Shows the dialog without blocking its owner; when it is open already, brings it to the
    // front. The find text is selected and has the focus, ready to be typed over.
    void present();

    QPushButton* findNextButton() const { return m_findNext; }
    QPushButton* cancelButton() const { return m_cancel; }

Q_SIGNALS:
    void findNext(const QString& text);

private:
    QLineEdit* m_text = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace controls
