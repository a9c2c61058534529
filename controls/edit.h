#pragma once

#include <QLineEdit>

namespace controls {

// A single-line edit box that selects its whole text whenever it takes the focus other than
// by a mouse click (Tab, Shift+Tab, a shortcut, or being given the focus by the program), so
// that the first key typed replaces the text. Getting the focus back because its window
// became active again keeps the selection as it was.
class Edit : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Edit)

public:
    explicit Edit(QWidget* parent);

protected:
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace controls
