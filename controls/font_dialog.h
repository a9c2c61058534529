#pragma once

#include <array>

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace controls {

// A modal font dialog with effects: family, style (regular, italic, bold, bold italic), size in
// whole points, underline, strike-out and a colour from the sixteen basic colours, with a
// sample, OK and Cancel. It holds a font and a colour of its own: each opening starts from
// them, OK makes the choice on screen the new font and colour, Cancel keeps the old ones. A
// family that is not installed (a name carried over from elsewhere) stays listed and keeps
// its name; the font matching draws it with a substitute.
//
// The colour is handed back exactly as it was given until a colour is picked in the list, so
// a colour that is not one of the sixteen survives an unchanged OK.
class FontDialog : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FontDialog)

public:
    struct NamedColor {
        const char* name;
        QColor color;
    };
    // Black, maroon, green, olive, navy, purple, teal, gray, silver, red, lime, yellow, blue,
    // fuchsia, aqua, white, in that order.
    static const std::array<NamedColor, 16>& basicColors();

    explicit FontDialog(QWidget* parent);

    // The font and colour the dialog holds: what the next opening starts from, and after OK
    // the choice confirmed. Only family, point size, bold, italic, underline and strike-out
    // are taken from the font.
    QFont selectedFont() const { return m_selectedFont; }
    void setSelectedFont(const QFont& font);
    QColor selectedColor() const { return m_selectedColor; }
    void setSelectedColor(const QColor& color);

    // Shows the dialog modally, starting from the selected font and colour. Returns true when
    // the user pressed OK; the choice is then the selected font and colour.
    bool execute();

    // The choice as it stands on the dialog's controls, and a way to make it as the user
    // would (the controls follow).
    QFont currentFont() const;
    void setCurrentFont(const QFont& font);
    QColor currentColor() const { return m_currentColor; }
    void setCurrentColor(const QColor& color);

    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    void selectFamily(const QString& family);
    void selectSize(int points);
    void selectColorEntry(const QColor& color);
    void updateSample();

    QFont m_selectedFont;
    QColor m_selectedColor;
    QColor m_currentColor;

    QListWidget* m_families = nullptr;
    QListWidget* m_styles = nullptr;
    QSpinBox* m_size = nullptr;
    QListWidget* m_sizes = nullptr;
    QCheckBox* m_strikeOut = nullptr;
    QCheckBox* m_underline = nullptr;
    QComboBox* m_colors = nullptr;
    QLabel* m_sample = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace controls
