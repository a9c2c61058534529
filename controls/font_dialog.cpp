#include "controls/font_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace controls {

namespace {
constexpr int kMinPoints = 1;
constexpr int kMaxPoints = 1638;
constexpr std::array<int, 16> kListedSizes = {8,  9,  10, 11, 12, 14, 16, 18,
                                              20, 22, 24, 26, 28, 36, 48, 72};
// The style list: bit 0 italic, bit 1 bold.
const std::array<const char*, 4> kStyles = {"Regular", "Italic", "Bold", "Bold Italic"};
constexpr int kItalicBit = 1;
constexpr int kBoldBit = 2;
// The entry after the sixteen that shows a colour given from outside them.
constexpr int kOtherColorEntry = 16;

QIcon swatch(const QColor& color) {
    QPixmap pixmap(24, 12);
    pixmap.fill(color);
    return QIcon(pixmap);
}

int pointsOf(const QFont& font) {
    if (font.pointSize() > 0) return font.pointSize();
    // A font given in pixels: its size in points at 96 dots per inch.
    if (font.pixelSize() > 0) return qRound(font.pixelSize() * 72.0 / 96.0);
    return 8;
}
}  // namespace

const std::array<FontDialog::NamedColor, 16>& FontDialog::basicColors() {
    static const std::array<NamedColor, 16> colors = {{
        {"Black", QColor(0, 0, 0)},
        {"Maroon", QColor(128, 0, 0)},
        {"Green", QColor(0, 128, 0)},
        {"Olive", QColor(128, 128, 0)},
        {"Navy", QColor(0, 0, 128)},
        {"Purple", QColor(128, 0, 128)},
        {"Teal", QColor(0, 128, 128)},
        {"Gray", QColor(128, 128, 128)},
        {"Silver", QColor(192, 192, 192)},
        {"Red", QColor(255, 0, 0)},
        {"Lime", QColor(0, 255, 0)},
        {"Yellow", QColor(255, 255, 0)},
        {"Blue", QColor(0, 0, 255)},
        {"Fuchsia", QColor(255, 0, 255)},
        {"Aqua", QColor(0, 255, 255)},
        {"White", QColor(255, 255, 255)},
    }};
    return colors;
}

FontDialog::FontDialog(QWidget* parent) : QDialog(parent) {
    if (parent != nullptr) setLayoutDirection(parent->layoutDirection());
    setWindowTitle(QStringLiteral("Font"));
    setModal(true);

    m_families = new QListWidget(this);
    m_families->setObjectName(QStringLiteral("family"));
    m_families->addItems(QFontDatabase::families());
    m_families->setSortingEnabled(true);

    m_styles = new QListWidget(this);
    m_styles->setObjectName(QStringLiteral("style"));
    for (const char* style : kStyles) m_styles->addItem(QString::fromLatin1(style));

    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("size"));
    m_size->setRange(kMinPoints, kMaxPoints);
    m_sizes = new QListWidget(this);
    m_sizes->setObjectName(QStringLiteral("sizes"));
    for (const int points : kListedSizes) m_sizes->addItem(QString::number(points));

    auto* effects = new QGroupBox(QStringLiteral("Effects"), this);
    m_strikeOut = new QCheckBox(QStringLiteral("Stri&keout"), effects);
    m_strikeOut->setObjectName(QStringLiteral("strikeOut"));
    m_underline = new QCheckBox(QStringLiteral("&Underline"), effects);
    m_underline->setObjectName(QStringLiteral("underline"));
    m_colors = new QComboBox(effects);
    m_colors->setObjectName(QStringLiteral("color"));
    for (const NamedColor& entry : basicColors())
        m_colors->addItem(swatch(entry.color), QString::fromLatin1(entry.name), entry.color);
    auto* effectsColumn = new QVBoxLayout(effects);
    effectsColumn->addWidget(m_strikeOut);
    effectsColumn->addWidget(m_underline);
    auto* colorCaption = new QLabel(QStringLiteral("&Color:"), effects);
    colorCaption->setBuddy(m_colors);
    effectsColumn->addWidget(colorCaption);
    effectsColumn->addWidget(m_colors);

    auto* sampleBox = new QGroupBox(QStringLiteral("Sample"), this);
    m_sample = new QLabel(QStringLiteral("AaBbYyZz نمونه"), sampleBox);
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumHeight(48);
    (new QVBoxLayout(sampleBox))->addWidget(m_sample);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);

    const auto caption = [this](const char* text, QWidget* buddy) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setBuddy(buddy);
        return label;
    };
    auto* grid = new QGridLayout;
    grid->addWidget(caption("&Font:", m_families), 0, 0);
    grid->addWidget(caption("Font st&yle:", m_styles), 0, 1);
    grid->addWidget(caption("&Size:", m_size), 0, 2);
    grid->addWidget(m_families, 1, 0, 2, 1);
    grid->addWidget(m_styles, 1, 1, 2, 1);
    grid->addWidget(m_size, 1, 2);
    grid->addWidget(m_sizes, 2, 2);
    grid->addWidget(effects, 3, 0);
    grid->addWidget(sampleBox, 3, 1, 1, 2);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(grid);
    whole->addWidget(buttons);

    connect(m_families, &QListWidget::currentRowChanged, this, &FontDialog::updateSample);
    connect(m_styles, &QListWidget::currentRowChanged, this, &FontDialog::updateSample);
    connect(m_sizes, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (!text.isEmpty()) m_size->setValue(text.toInt());
    });
    connect(m_size, &QSpinBox::valueChanged, this, [this](int points) {
        selectSize(points);
        updateSample();
    });
    connect(m_underline, &QCheckBox::toggled, this, &FontDialog::updateSample);
    connect(m_strikeOut, &QCheckBox::toggled, this, &FontDialog::updateSample);
    // Only a colour picked in the list replaces the one given.
    connect(m_colors, &QComboBox::activated, this, [this](int index) {
        m_currentColor = m_colors->itemData(index).value<QColor>();
        updateSample();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    setSelectedFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setSelectedColor(palette().color(QPalette::WindowText));
    setCurrentFont(m_selectedFont);
    setCurrentColor(m_selectedColor);
}

void FontDialog::setSelectedFont(const QFont& font) {
    QFont held(font.family());
    held.setPointSize(pointsOf(font));
    held.setBold(font.bold());
    held.setItalic(font.italic());
    held.setUnderline(font.underline());
    held.setStrikeOut(font.strikeOut());
    m_selectedFont = held;
}

void FontDialog::setSelectedColor(const QColor& color) {
    m_selectedColor = color;
}

bool FontDialog::execute() {
    setCurrentFont(m_selectedFont);
    setCurrentColor(m_selectedColor);
    m_families->setFocus(Qt::OtherFocusReason);
    if (exec() != QDialog::Accepted) return false;
    setSelectedFont(currentFont());
    setSelectedColor(m_currentColor);
    return true;
}

QFont FontDialog::currentFont() const {
    const QListWidgetItem* family = m_families->currentItem();
    QFont font(family != nullptr ? family->text() : m_selectedFont.family());
    font.setPointSize(m_size->value());
    const int style = std::max(m_styles->currentRow(), 0);
    font.setItalic((style & kItalicBit) != 0);
    font.setBold((style & kBoldBit) != 0);
    font.setUnderline(m_underline->isChecked());
    font.setStrikeOut(m_strikeOut->isChecked());
    return font;
}

void FontDialog::setCurrentFont(const QFont& font) {
    selectFamily(font.family());
    m_styles->setCurrentRow((font.italic() ? kItalicBit : 0) | (font.bold() ? kBoldBit : 0));
    m_size->setValue(std::clamp(pointsOf(font), kMinPoints, kMaxPoints));
    selectSize(m_size->value());
    m_underline->setChecked(font.underline());
    m_strikeOut->setChecked(font.strikeOut());
    updateSample();
}

void FontDialog::setCurrentColor(const QColor& color) {
    m_currentColor = color;
    selectColorEntry(color);
    updateSample();
}

void FontDialog::selectFamily(const QString& family) {
    QList<QListWidgetItem*> found = m_families->findItems(family, Qt::MatchFixedString);
    // A family that is not installed is listed all the same, so that its name is kept.
    if (found.isEmpty()) {
        m_families->addItem(family);
        found = m_families->findItems(family, Qt::MatchFixedString);
    }
    m_families->setCurrentItem(found.first());
    m_families->scrollToItem(found.first());
}

void FontDialog::selectSize(int points) {
    const QList<QListWidgetItem*> found =
        m_sizes->findItems(QString::number(points), Qt::MatchExactly);
    const QSignalBlocker quiet(m_sizes);
    if (found.isEmpty()) {
        m_sizes->setCurrentRow(-1);
        return;
    }
    m_sizes->setCurrentItem(found.first());
    m_sizes->scrollToItem(found.first());
}

void FontDialog::selectColorEntry(const QColor& color) {
    if (m_colors->count() > kOtherColorEntry) m_colors->removeItem(kOtherColorEntry);
    for (int index = 0; index < kOtherColorEntry; ++index) {
        if (m_colors->itemData(index).value<QColor>().rgb() == color.rgb()) {
            m_colors->setCurrentIndex(index);
            return;
        }
    }
    m_colors->addItem(swatch(color), color.name(), color);
    m_colors->setCurrentIndex(kOtherColorEntry);
}

void FontDialog::updateSample() {
    m_sample->setFont(currentFont());
    QPalette colours = m_sample->palette();
    colours.setColor(QPalette::WindowText, m_currentColor);
    m_sample->setPalette(colours);
}

}  // namespace controls
