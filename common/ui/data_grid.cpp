#include "common/ui/data_grid.h"

#include "common/ui/quiet_scroll_bar.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QScrollBar>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTextLayout>

#include <memory>
#include <unordered_map>
#include <vector>

namespace {

// The column titles. Their sections never show the selection (highlightSections is off here), but
// the stock header still redraws all of them whenever the selected row changes, which is once per
// sample during a run.
// Its size hint, which the view asks for whenever its scroll range is worked out (once per
// sample), is kept until a title, the number of columns or which are hidden, the font or the
// style changes: the stock header measures every title again each time.
class TitleHeader : public QHeaderView
{
public:
    explicit TitleHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

    void setModel(QAbstractItemModel *model) override
    {
        QHeaderView::setModel(model);
        m_hint = QSize();
        if (!model)
            return;
        const auto forget = [this] { m_hint = QSize(); };
        connect(model, &QAbstractItemModel::headerDataChanged, this, forget);
        connect(model, &QAbstractItemModel::modelReset, this, forget);
        connect(model, &QAbstractItemModel::columnsInserted, this, forget);
        connect(model, &QAbstractItemModel::columnsRemoved, this, forget);
        connect(model, &QAbstractItemModel::layoutChanged, this, forget);
    }

    QSize sizeHint() const override
    {
        // Hidden titles are not measured: which ones are hidden is part of the key (a few columns).
        std::vector<bool> hidden(static_cast<size_t>(count()));
        for (int i = 0; i < count(); ++i)
            hidden[size_t(i)] = isSectionHidden(i);
        if (!m_hint.isValid() || hidden != m_hidden)
            m_hint = QHeaderView::sizeHint();
        m_hidden = std::move(hidden);
        return m_hint;
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            m_hint = QSize();
        return QHeaderView::event(event);
    }

    QRegion visualRegionForSelection(const QItemSelection &selection) const override
    {
        return highlightSections() ? QHeaderView::visualRegionForSelection(selection) : QRegion();
    }

private:
    mutable QSize m_hint;
    mutable std::vector<bool> m_hidden;
};

// A cell's text laid out on one line, ready to draw.
struct LaidOutText
{
    std::unique_ptr<QTextLayout> layout;
    QFont font;
    qreal naturalWidth = 0;
    qreal height = 0;
    QSize box; // the line's bounding size in whole pixels
};

// The texts laid out lately. A new row's texts are drawn again when the next row takes the
// highlight from it, and values repeat: those are not shaped and laid out again. Two
// generations of at most kGeneration texts each: a text not drawn for a generation is dropped.
class LaidOutTexts
{
public:
    const LaidOutText &get(const QString &text, const QFont &font, int width,
                           Qt::LayoutDirection direction, Qt::Alignment alignment)
    {
        const Key key{text, width, int(direction), int(alignment)};
        auto it = m_current.find(key);
        if (it != m_current.end() && it->second.font == font)
            return it->second;
        auto old = m_previous.find(key);
        if (old != m_previous.end() && old->second.font == font) {
            LaidOutText moved = std::move(old->second);
            m_previous.erase(old);
            return insert(key, std::move(moved));
        }
        LaidOutText laid;
        laid.font = font;
        laid.layout = std::make_unique<QTextLayout>(text, font);
        QTextOption textOption;
        textOption.setWrapMode(QTextOption::ManualWrap);
        textOption.setTextDirection(direction);
        textOption.setAlignment(alignment);
        laid.layout->setTextOption(textOption);
        // Keep the shaped glyphs: without this the layout drops them at the end of the layout
        // and shapes the text again at every draw.
        laid.layout->setCacheEnabled(true);
        laid.layout->beginLayout();
        QTextLine line = laid.layout->createLine();
        line.setLineWidth(width);
        line.setPosition(QPointF(0, 0));
        laid.layout->endLayout();
        laid.naturalWidth = line.naturalTextWidth();
        laid.height = line.height();
        laid.box = laid.layout->boundingRect().size().toSize();
        return insert(key, std::move(laid));
    }

private:
    static constexpr size_t kGeneration = 200;

    struct Key
    {
        QString text;
        int width;
        int direction;
        int alignment;
        bool operator==(const Key &o) const
        {
            return width == o.width && direction == o.direction && alignment == o.alignment
                   && text == o.text;
        }
    };
    struct KeyHash
    {
        size_t operator()(const Key &k) const
        {
            return qHashMulti(0, k.text, k.width, k.direction, k.alignment);
        }
    };
    using Map = std::unordered_map<Key, LaidOutText, KeyHash>;

    const LaidOutText &insert(const Key &key, LaidOutText &&laid)
    {
        if (m_current.size() >= kGeneration) {
            m_previous = std::move(m_current);
            m_current = Map();
        }
        auto placed = m_current.insert_or_assign(key, std::move(laid));
        return placed.first->second;
    }

    Map m_current;
    Map m_previous;
};

// Draws a cell the way the stock delegate and style do (background, selection, text placed and
// coloured alike, the same pixels), but lays its text out once and reads the cell straight from
// the grid. The stock path measures and lays out each text three times through the style, which
// was most of the cost of drawing a new row. Anything it would draw differently (a focus frame,
// text too wide that it would shorten, more than one line) goes to the stock path.
// It also draws the grid lines at the cell's right (left, right to left) and bottom edges, where
// the view would draw them: the view strokes each line a pixel at a time, which cost as much as
// the texts of a new row.
class CellDelegate : public QStyledItemDelegate
{
public:
    CellDelegate(GridModel *model, QTableView *view)
        : QStyledItemDelegate(view), m_model(model), m_view(view)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        if (m_view->showGrid()) { // the view draws the lines
            paintCell(painter, option, index);
            return;
        }
        // The cell as the view lays it out when it draws the lines itself.
        const bool rtl = option.direction == Qt::RightToLeft;
        QStyleOptionViewItem cell = option;
        cell.rect.adjust(rtl ? 1 : 0, 0, rtl ? 0 : -1, -1);
        paintCell(painter, cell, index);
        const QColor line = lineColour(option);
        const QRect &r = option.rect;
        painter->fillRect(QRect(rtl ? r.left() : r.right(), r.top(), 1, r.height()), line);
        painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), line);
    }

private:
    // The style's grid line colour, worked out again only when the palette or the style changes
    // (the view asked once per paint, not per cell).
    QColor lineColour(const QStyleOptionViewItem &option) const
    {
        const QStyle *style = m_view->style();
        if (option.palette.cacheKey() != m_linePalette || style != m_lineStyle) {
            m_linePalette = option.palette.cacheKey();
            m_lineStyle = style;
            m_line = QColor::fromRgba(static_cast<QRgb>(
                style->styleHint(QStyle::SH_Table_GridLineColor, &option, m_view)));
        }
        return m_line;
    }

    void paintCell(QPainter *painter, const QStyleOptionViewItem &option,
                   const QModelIndex &index) const
    {
        if (option.state & QStyle::State_HasFocus) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const int row = index.row() + 1;
        const int column = index.column() + 1;
        const QString text = m_model->cell(row, column);
        for (const QChar c : text) {
            if (c == QLatin1Char('\n') || c == QChar::LineSeparator) {
                QStyledItemDelegate::paint(painter, option, index);
                return;
            }
        }
        const QStyle *style = m_view->style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 1;
        const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
        const Qt::Alignment alignment = m_model->cellAlignment(row, column);

        const LaidOutText *laid = nullptr;
        if (!text.isEmpty()) {
            laid = &m_texts.get(text, option.font, textRect.width(), option.direction,
                                QStyle::visualAlignment(option.direction, alignment));
            if (laid->naturalWidth > textRect.width() || laid->height + 2 > option.rect.height()) {
                QStyledItemDelegate::paint(painter, option, index);
                return;
            }
        }

        QPalette::ColorGroup group =
            (option.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !(option.state & QStyle::State_Active))
            group = QPalette::Inactive;
        const bool selected = option.state & QStyle::State_Selected;
        if (selected) {
            painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
        } else {
            QColor background;
            if (m_model->paintedBackground(row, column, &background))
                painter->fillRect(option.rect, background);
        }
        if (!laid)
            return;
        const QPen pen = painter->pen();
        painter->setPen(
            option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        // Vertical placement as the style's: the line's box centred (or aligned) in whole pixels.
        const QRect box = QStyle::alignedRect(Qt::LeftToRight, alignment & Qt::AlignVertical_Mask,
                                              laid->box, textRect);
        laid->layout->draw(painter, QPointF(textRect.x(), box.top()));
        painter->setPen(pen);
    }

    GridModel *m_model;
    QTableView *m_view;
    mutable LaidOutTexts m_texts;
    mutable qint64 m_linePalette = -1;
    mutable const QStyle *m_lineStyle = nullptr;
    mutable QColor m_line;
};

} // namespace

DataGrid::DataGrid(QWidget *parent) : QTableView(parent), m_model(new GridModel(this))
{
    setHorizontalHeader(new TitleHeader(this));
    // Rows that keep coming change the bars' range each time; they are redrawn only when they
    // look different.
    setVerticalScrollBar(new QuietScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new QuietScrollBar(Qt::Horizontal, this));
    setModel(m_model);
    setItemDelegate(new CellDelegate(m_model, this));
    setShowGrid(false); // the delegate draws the lines
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
    setSelectionColours(QColor(0, 64, 128), Qt::white);
    fitRowHeightToFont();
}

void DataGrid::suspendRedraw()
{
    if (m_suspended++ == 0) {
        m_model->holdNotifications(true);
        setUpdatesEnabled(false);
    }
}

void DataGrid::resumeRedraw()
{
    if (m_suspended == 0)
        return;
    if (--m_suspended == 0) {
        m_model->holdNotifications(false);
        setUpdatesEnabled(true);
    }
}

void DataGrid::appendGridRows(int rows, bool spareRow)
{
    if (rows <= m_model->gridRowCount()) {
        m_model->setGridRowCount(rows);
        return;
    }
    executeDelayedItemsLayout(); // whatever was due before is laid out in full
    const int before = m_model->gridRowCount();
    m_appendedFrom = before;
    // The heights change at the end only: the view's own answer to that (all of it redrawn) is
    // held back, as in setGridRowHidden(), and the layout below covers those rows.
    if (spareRow && before > 0 && isRowHidden(before - 1)) {
        const QSignalBlocker quiet(verticalHeader());
        setRowHidden(before - 1, false);
        m_appendedFrom = before - 1;
    }
    m_model->setGridRowCount(rows);
    if (spareRow) {
        const QSignalBlocker quiet(verticalHeader());
        setRowHidden(rows - 1, true);
    }
    executeDelayedItemsLayout(); // the insertion's own layout, see doItemsLayout()
    m_appendedFrom = -1;
}

void DataGrid::doItemsLayout()
{
    if (m_appendedFrom < 0) {
        QTableView::doItemsLayout();
        return;
    }
    // Rows added at the end move nothing above them: the scroll range changes and the new rows
    // are drawn, if they are in view at all.
    updateGeometries();
    const int top = qMax(0, rowViewportPosition(m_appendedFrom));
    if (top < viewport()->height())
        viewport()->update(QRect(0, top, viewport()->width(), viewport()->height() - top));
}

void DataGrid::setGridRowHidden(int row, bool hidden)
{
    if (row < 1 || row > m_model->gridRowCount() || isRowHidden(row - 1) == hidden)
        return;
    {
        // The view's own answer to a row changing height is to redraw all of itself whenever it
        // is scrolled to the end, which a table that follows its newest row always is; the rows
        // from this one down are enough while the scroll position stays (rowHeightsChanged).
        const QSignalBlocker quiet(verticalHeader());
        setRowHidden(row - 1, hidden);
    }
    const bool queued = m_resizedFrom >= 0;
    m_resizedFrom = queued ? qMin(m_resizedFrom, row - 1) : row - 1;
    if (!queued)
        QMetaObject::invokeMethod(this, &DataGrid::rowHeightsChanged, Qt::QueuedConnection);
}

void DataGrid::rowHeightsChanged()
{
    const int from = m_resizedFrom;
    m_resizedFrom = -1;
    if (from < 0 || from >= m_model->rowCount())
        return;
    const int before = verticalScrollBar()->value();
    updateGeometries();
    // A scroll position that had to move takes every row with it.
    const int top = verticalScrollBar()->value() == before ? qMax(0, rowViewportPosition(from)) : 0;
    if (top < viewport()->height())
        viewport()->update(QRect(0, top, viewport()->width(), viewport()->height() - top));
}

bool DataGrid::isGridRowHidden(int row) const
{
    return row >= 1 && row <= m_model->gridRowCount() && isRowHidden(row - 1);
}

void DataGrid::setGridColumnHidden(int column, bool hidden)
{
    if (column >= 1 && column <= m_model->gridColumnCount())
        setColumnHidden(column - 1, hidden);
}

bool DataGrid::isGridColumnHidden(int column) const
{
    return column >= 1 && column <= m_model->gridColumnCount() && isColumnHidden(column - 1);
}

void DataGrid::setActiveCell(int row, int column)
{
    if (row < 1 || row > m_model->gridRowCount() || m_model->gridColumnCount() < 1)
        return;
    column = qBound(1, column, m_model->gridColumnCount());
    const QModelIndex i = m_model->index(row - 1, column - 1);
    setCurrentIndex(i); // selects the row (row selection)
    scrollTo(i, QAbstractItemView::EnsureVisible);
}

int DataGrid::activeRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

void DataGrid::setSelectionColours(const QColor &background, const QColor &text)
{
    QPalette p = palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Highlight, background);
        p.setColor(g, QPalette::HighlightedText, text);
    }
    setPalette(p);
}

QColor DataGrid::selectionBackground() const
{
    return palette().color(QPalette::Active, QPalette::Highlight);
}

QColor DataGrid::selectionText() const
{
    return palette().color(QPalette::Active, QPalette::HighlightedText);
}

void DataGrid::fitRowHeightToFont()
{
    const int h = fontMetrics().height() + 6;
    verticalHeader()->setMinimumSectionSize(qMin(h, 12));
    verticalHeader()->setDefaultSectionSize(h);
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT keyDown(event->key(), event->isAutoRepeat());
    QTableView::keyPressEvent(event);
}

void DataGrid::keyReleaseEvent(QKeyEvent *event)
{
    QTableView::keyReleaseEvent(event);
    Q_EMIT keyUp(event->key(), event->isAutoRepeat());
}

void DataGrid::mouseMoveEvent(QMouseEvent *event)
{
    QTableView::mouseMoveEvent(event);
    Q_EMIT mouseMoved(event->buttons());
}

void DataGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    Q_EMIT mouseReleased();
}

void DataGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowHeightToFont();
}
