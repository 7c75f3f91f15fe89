#include "common/HtmlGrid.h"

#include "common/HtmlText.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace dudodu {

namespace {

constexpr int kTitleRole = Qt::UserRole; // the titles' HTML; the header's display text stays empty
constexpr int kPadding = 3;

// The header's own text stays empty - the titles are drawn as HTML - also where no title is set and
// the model would show the section number.
class TGridModel : public QStandardItemModel {
  public:
    using QStandardItemModel::QStandardItemModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        return role == Qt::DisplayRole ? QVariant()
                                       : QStandardItemModel::headerData(section, orientation, role);
    }
};

// Draws cells as HTML, sizes rows by the wrapped text, and shows the grid's hint where a cell has no
// tooltip of its own.
class THtmlDelegate : public QStyledItemDelegate {
  public:
    THtmlDelegate(THtmlGrid* grid, bool fixedColumn)
        : QStyledItemDelegate(grid), m_grid(grid), m_fixed(fixedColumn) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString html = opt.text;
        opt.text.clear();
        const bool selected = opt.state & QStyle::State_Selected;
        if (m_fixed) {
            painter->fillRect(opt.rect, opt.palette.button());
        } else {
            const QWidget* widget = opt.widget;
            QStyle* style = widget ? widget->style() : nullptr;
            if (style) style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        }
        const QColor color = m_fixed    ? opt.palette.color(QPalette::ButtonText)
                             : selected ? opt.palette.color(QPalette::HighlightedText)
                                        : opt.palette.color(QPalette::Text);
        DrawHtmlText(painter, opt.rect.adjusted(kPadding, 1, -kPadding, -1), html, opt.font, color);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QString html = index.data(Qt::DisplayRole).toString();
        const int width = option.rect.width() > 0 ? option.rect.width() : m_grid->columnWidth(index.column());
        const QSize text = HtmlTextSize(html, option.font, width - 2 * kPadding);
        return {text.width() + 2 * kPadding, text.height() + 2 + 2};
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() == QEvent::ToolTip && !index.data(Qt::ToolTipRole).isValid()) {
            QToolTip::showText(event->globalPos(), m_grid->toolTip(), view);
            return true;
        }
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }

  private:
    THtmlGrid* m_grid;
    bool m_fixed;
};

// The title row: HTML titles, as high as the tallest wrapped title.
class THtmlHeader : public QHeaderView {
  public:
    explicit THtmlHeader(QWidget* parent, const QHeaderView* heightPartner = nullptr)
        : QHeaderView(Qt::Horizontal, parent), m_partner(heightPartner) {
        setSectionsClickable(false);
        setHighlightSections(false);
    }

    QSize sizeHint() const override {
        QSize hint = QHeaderView::sizeHint();
        if (m_partner) {
            hint.setHeight(m_partner->sizeHint().height());
            return hint;
        }
        int height = hint.height();
        for (int i = 0; i < count(); ++i) {
            if (!isSectionHidden(i))
                height = qMax(height, titleSize(i, sectionSize(i)).height() + 2 * kPadding);
        }
        hint.setHeight(height);
        return hint;
    }

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        // The style's header drawing leaves the painter changed (clipping), so it gets a state of its own.
        painter->save();
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
        DrawHtmlText(painter, rect.adjusted(kPadding, kPadding, -kPadding, -kPadding), title(logicalIndex),
                     font(), palette().color(QPalette::ButtonText), Qt::AlignHCenter);
    }

    QSize sectionSizeFromContents(int logicalIndex) const override {
        const QSize size = titleSize(logicalIndex, sectionSize(logicalIndex));
        return {size.width() + 2 * kPadding, size.height() + 2 * kPadding};
    }

  private:
    QString title(int logicalIndex) const {
        return model() ? model()->headerData(logicalIndex, orientation(), kTitleRole).toString() : QString();
    }
    QSize titleSize(int logicalIndex, int width) const {
        return HtmlTextSize(title(logicalIndex), font(), width - 2 * kPadding, Qt::AlignHCenter);
    }

    const QHeaderView* m_partner;
};

} // namespace

// The first column, laid over the grid's own so that it stays in view when the grid scrolls sideways.
class TFrozenColumnView : public QTableView {
  public:
    using QTableView::updateGeometries;
    explicit TFrozenColumnView(THtmlGrid* grid) : QTableView(grid) {
        setHorizontalHeader(new THtmlHeader(this, grid->horizontalHeader()));
        setItemDelegate(new THtmlDelegate(grid, true));
        setFocusPolicy(Qt::NoFocus);
        verticalHeader()->hide();
        horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollMode(ScrollPerPixel);
        setEditTriggers(NoEditTriggers);
        setSelectionBehavior(SelectRows);
        setStyleSheet(QStringLiteral("QTableView { border: none; }"));
    }
};

THtmlGrid::THtmlGrid(QWidget* parent)
    : QTableView(parent), m_model(new TGridModel(1, 5, this)), m_frozen(nullptr) {
    setHorizontalHeader(new THtmlHeader(this));
    setModel(m_model);
    m_objects.resize(1);
    setItemDelegate(new THtmlDelegate(this, false));
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1); // rows take the height of their content
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultSectionSize(64);
    setWordWrap(true);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    setDefaultRowHeight(21);

    connect(this, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit cellDoubleClicked(index.column(), index.row() + 1); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logicalIndex, int, int) {
        updateGeometries();
        if (logicalIndex == 0) updateFrozenColumn();
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this](int logicalIndex, int, int newSize) {
        if (m_frozen) m_frozen->setRowHeight(logicalIndex, newSize);
    });
    setFixedFirstColumn(true);
}

THtmlGrid::~THtmlGrid() {
    for (auto& object : m_objects)
        freeObject(object);
}

void THtmlGrid::setFixedFirstColumn(bool fixed) {
    if (fixed == (m_frozen != nullptr)) return;
    if (!fixed) {
        delete m_frozen; // a child widget; removing it before its parent goes is Qt's own way
        m_frozen = nullptr;
        return;
    }
    m_frozen = new TFrozenColumnView(this);
    m_frozen->setModel(m_model);
    m_frozen->setSelectionModel(selectionModel());
    viewport()->stackUnder(m_frozen);
    connect(m_frozen, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit cellDoubleClicked(index.column(), index.row() + 1); });
    connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(),
            &QAbstractSlider::setValue);
    m_frozen->verticalHeader()->setMinimumSectionSize(1);
    m_frozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    for (int row = 0; row < m_model->rowCount(); ++row)
        m_frozen->setRowHeight(row, rowHeight(row));
    hideFrozenColumns();
    m_frozen->show();
    updateFrozenColumn();
}

void THtmlGrid::updateFrozenColumn() {
    if (!m_frozen) return;
    m_frozen->setColumnWidth(0, columnWidth(0));
    m_frozen->updateGeometries();
    m_frozen->setGeometry(frameWidth(), frameWidth(), columnWidth(0),
                          viewport()->height() + horizontalHeader()->height());
}

void THtmlGrid::hideFrozenColumns() {
    if (!m_frozen) return;
    for (int col = 0; col < m_model->columnCount(); ++col)
        m_frozen->setColumnHidden(col, col != 0);
}

int THtmlGrid::ColCount() const {
    return m_model->columnCount();
}

void THtmlGrid::setColCount(int count) {
    m_model->setColumnCount(qMax(1, count));
    hideFrozenColumns();
    updateFrozenColumn();
}

int THtmlGrid::RowCount() const {
    return m_model->rowCount() + 1;
}

void THtmlGrid::setRowCount(int count) {
    const int dataRows = qMax(1, count - 1);
    for (int i = dataRows; i < int(m_objects.size()); ++i)
        freeObject(m_objects[i]);
    m_objects.resize(dataRows);
    m_model->setRowCount(dataRows);
}

QString THtmlGrid::Cells(int col, int row) const {
    if (col < 0 || col >= ColCount()) return {};
    if (row == 0) return m_model->headerData(col, Qt::Horizontal, kTitleRole).toString();
    if (!isDataRow(row)) return {};
    return m_model->data(m_model->index(row - 1, col)).toString();
}

void THtmlGrid::setCells(int col, int row, const QString& html) {
    Q_ASSERT(col >= 0 && col < ColCount() && row >= 0 && row < RowCount());
    if (col < 0 || col >= ColCount()) return;
    if (row == 0) {
        m_model->setHeaderData(col, Qt::Horizontal, html, kTitleRole);
        updateGeometries();
    } else if (isDataRow(row)) {
        m_model->setData(m_model->index(row - 1, col), html);
    }
}

void THtmlGrid::clearRow(int row) {
    if (!isDataRow(row)) return;
    freeObject(m_objects[row - 1]);
    for (int col = 0; col < ColCount(); ++col)
        m_model->setData(m_model->index(row - 1, col), QVariant());
}

void THtmlGrid::removeRow(int row) {
    if (!isDataRow(row)) return;
    if (RowCount() == 2) {
        clearRow(row);
        return;
    }
    freeObject(m_objects[row - 1]);
    m_objects.erase(m_objects.begin() + (row - 1));
    m_model->removeRow(row - 1);
}

TGridObject* THtmlGrid::Objects(int row) const {
    return isDataRow(row) ? m_objects[row - 1].get() : nullptr;
}

void THtmlGrid::setObject(int row, std::unique_ptr<TGridObject> object) {
    Q_ASSERT(isDataRow(row));
    if (!isDataRow(row)) return;
    if (m_objects[row - 1] != object) freeObject(m_objects[row - 1]);
    m_objects[row - 1] = std::move(object);
}

std::unique_ptr<TGridObject> THtmlGrid::takeObject(int row) {
    return isDataRow(row) ? std::move(m_objects[row - 1]) : nullptr;
}

void THtmlGrid::freeObject(std::unique_ptr<TGridObject>& object) {
    if (!object) return;
    emit objectFreeing(object.get());
    object.reset();
}

int THtmlGrid::ColWidths(int col) const {
    return columnWidth(col);
}

void THtmlGrid::setColWidths(int col, int width) {
    setColumnWidth(col, width);
}

int THtmlGrid::RowHeights(int row) const {
    if (row == 0) return horizontalHeader()->sizeHint().height();
    return isDataRow(row) ? rowHeight(row - 1) : 0;
}

void THtmlGrid::setDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height);
    if (m_frozen) m_frozen->verticalHeader()->setDefaultSectionSize(height);
}

void THtmlGrid::autoSizeRow(int row) {
    if (row == 0)
        updateGeometries();
    else if (isDataRow(row))
        resizeRowToContents(row - 1);
}

int THtmlGrid::Row() const {
    return currentIndex().isValid() ? currentIndex().row() + 1 : 1;
}

void THtmlGrid::setRow(int row) {
    if (isDataRow(row)) setCurrentIndex(m_model->index(row - 1, 0));
}

void THtmlGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    updateFrozenColumn();
}

QModelIndex THtmlGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // Keep the cell the cursor moves to from hiding under the fixed column.
    if (m_frozen && cursorAction == MoveLeft && current.column() > 0 &&
        visualRect(current).topLeft().x() < columnWidth(0)) {
        const int shift = horizontalScrollBar()->value() + visualRect(current).topLeft().x() - columnWidth(0);
        horizontalScrollBar()->setValue(shift);
    }
    return current;
}

void THtmlGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!m_frozen || index.column() > 0) QTableView::scrollTo(index, hint);
}

void THtmlGrid::updateGeometries() {
    QTableView::updateGeometries();
    updateFrozenColumn();
}

} // namespace dudodu
