#include "controls/db_grid.h"

#include <algorithm>

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "controls/error_box.h"

namespace controls {

namespace {

// The row indicator: an empty header section per row, with a mark in the current row's
// section: a small triangle pointing at the cells, an I-beam while the record has a pending
// edit, an asterisk while it is a new record.
class IndicatorHeader : public QHeaderView {
public:
    explicit IndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        // The style may leave a clip behind that shuts out whatever is drawn next.
        painter->save();
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
        if (selectionModel() == nullptr || selectionModel()->currentIndex().row() != logicalIndex)
            return;
        const int state =
            model()
                ->headerData(logicalIndex, Qt::Vertical, FieldColumnModel::kRecordStateRole)
                .toInt();
        if (state != 0) {
            paintEditState(painter, rect, state);
            return;
        }
        const int half = std::max(2, std::min(rect.width(), rect.height()) / 4);
        const QPoint centre = rect.center();
        // The cells lie to the left of the indicator in right-to-left, to its right otherwise.
        const int towardsCells = layoutDirection() == Qt::RightToLeft ? -1 : 1;
        QPainterPath triangle;
        triangle.moveTo(centre.x() - towardsCells * half, centre.y() - half * 2 + 1);
        triangle.lineTo(centre.x() + towardsCells * half, centre.y());
        triangle.lineTo(centre.x() - towardsCells * half, centre.y() + half * 2 - 1);
        triangle.closeSubpath();
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->fillPath(triangle, palette().color(QPalette::WindowText));
        painter->restore();
    }

private:
    void paintEditState(QPainter* painter, const QRect& rect, int state) const {
        const QPoint centre = rect.center();
        const int reach = std::max(2, std::min(rect.width(), rect.height()) / 2 - 2);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(palette().color(QPalette::WindowText), 1));
        if (state == 1) {
            // An I-beam: the record is being edited.
            const int serif = std::max(1, reach / 2);
            painter->drawLine(centre.x(), centre.y() - reach, centre.x(), centre.y() + reach);
            painter->drawLine(centre.x() - serif, centre.y() - reach, centre.x() + serif,
                              centre.y() - reach);
            painter->drawLine(centre.x() - serif, centre.y() + reach, centre.x() + serif,
                              centre.y() + reach);
        } else {
            // An asterisk: a new record.
            const int arm = std::max(2, reach - 1);
            painter->drawLine(centre.x(), centre.y() - arm, centre.x(), centre.y() + arm);
            painter->drawLine(centre.x() - arm, centre.y() - arm / 2, centre.x() + arm,
                              centre.y() + arm / 2);
            painter->drawLine(centre.x() - arm, centre.y() + arm / 2, centre.x() + arm,
                              centre.y() - arm / 2);
        }
        painter->restore();
    }
};

// The in-place editor takes the cell's font and colour rather than the grid's own, and hands
// every keystroke to the model at once, so that what is typed is part of the record before
// any button moves it.
class CellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor == nullptr) return nullptr;
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            auto* self = const_cast<CellDelegate*>(this);
            connect(line, &QLineEdit::textEdited, self,
                    [self, line] { Q_EMIT self->commitData(line); });
        }
        const QVariant font = index.data(Qt::FontRole);
        if (font.isValid()) editor->setFont(qvariant_cast<QFont>(font));
        const QVariant colour = index.data(Qt::ForegroundRole);
        if (colour.isValid()) {
            QPalette colours = editor->palette();
            colours.setColor(QPalette::Text, qvariant_cast<QColor>(colour));
            editor->setPalette(colours);
        }
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // The model echoes each keystroke back; the text is the same and the caret stays.
        if (auto* line = qobject_cast<QLineEdit*>(editor);
            line != nullptr && line->text() == index.data(Qt::EditRole).toString())
            return;
        QStyledItemDelegate::setEditorData(editor, index);
    }
};

}  // namespace

DBGrid::DBGrid(QWidget* parent) : QTableView(parent) {
    m_columnModel = new FieldColumnModel(this);
    setVerticalHeader(new IndicatorHeader(this));
    setModel(m_columnModel);
    setItemDelegate(new CellDelegate(this));

    // Tab leaves the grid rather than walking its cells: focus passing through a grid (also
    // when the focused control is hidden) must never move its current row.
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    setShowGrid(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(kIndicatorWidth);
    verticalHeader()->setHighlightSections(false);

    // The current row stays marked while another control has the focus.
    QPalette colours = palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    // Runs after the view has taken in the new rows.
    connect(m_columnModel, &QAbstractItemModel::modelReset, this, [this] {
        restoreColumnWidth();
        applyCurrentRow();
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int, int, int newSize) {
        if (!m_sizingColumn) m_columnWidth = newSize;
    });
    fitRowHeight();
}

void DBGrid::setSource(QAbstractItemModel* source, const QString& fieldName) {
    m_columnModel->setSource(source, fieldName);
}

void DBGrid::setCurrentRow(int row) {
    m_currentRow = row >= 0 && row < m_columnModel->rowCount() ? row : -1;
    applyCurrentRow();
}

void DBGrid::applyCurrentRow() {
    if (m_currentRow >= m_columnModel->rowCount()) m_currentRow = -1;
    m_following = true;
    if (m_currentRow < 0) {
        selectionModel()->clear();
    } else {
        const QModelIndex index = m_columnModel->index(m_currentRow, 0);
        selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
    m_following = false;
    verticalHeader()->viewport()->update();
}

void DBGrid::onCurrentChanged(const QModelIndex& current) {
    verticalHeader()->viewport()->update();
    if (m_following || !current.isValid() || current.row() == m_currentRow) return;
    Q_EMIT rowPicked(current.row());
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    const int lastRow = m_columnModel->rowCount() - 1;
    const bool plain = event->modifiers() == Qt::NoModifier;
    if (plain && event->key() == Qt::Key_Insert) {
        Q_EMIT insertRequested();
    } else if (plain && event->key() == Qt::Key_Down && m_currentRow == lastRow) {
        Q_EMIT insertRequested();  // past the last row (or into an empty grid)
    } else if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_Delete) {
        if (m_currentRow >= 0 && confirmBox(QStringLiteral("Delete record?")))
            Q_EMIT deleteRequested();
    } else if (plain && event->key() == Qt::Key_Escape) {
        model()->revert();
    } else {
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void DBGrid::fitRowHeight() {
    // The row height comes from the grid's own font, as the title height comes from the
    // title font; the cells may use a smaller one.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 3);
    verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 3);
}

void DBGrid::restoreColumnWidth() {
    // Until the user sizes the column it takes the width between the indicator and the
    // place of a vertical scroll bar.
    int width = m_columnWidth;
    if (width < 0) {
        const int frame = 2 * frameWidth();
        width = std::max(20, this->width() - frame - kIndicatorWidth -
                                 style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
    }
    m_sizingColumn = true;
    setColumnWidth(0, width);
    m_sizingColumn = false;
}

void DBGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) fitRowHeight();
}

void DBGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    if (m_columnWidth < 0) restoreColumnWidth();
}

}  // namespace controls
