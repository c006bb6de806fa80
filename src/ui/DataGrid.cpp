#include "ui/DataGrid.h"

#include "store/RecordView.h"
#include "store/StoreError.h"
#include "ui/RecordModel.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace ui {

// Cells are typed into with a plain line edit; what it commits goes through
// the grid's update cycle instead of straight into the model.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(DataGrid* grid)
        : QStyledItemDelegate(grid), grid_(grid)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setAlignment(index.data(Qt::TextAlignmentRole).value<Qt::Alignment>());
        // The grid watches its editor's focus: typing is part of the grid.
        editor->installEventFilter(grid_);
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            grid_->commitCell(index, line->text());
    }

private:
    DataGrid* grid_;
};

namespace {

// The heading row's height depends on its captions, font and style only, but
// Qt measures every caption again after each refresh of the view (a model
// reset) and on the first move after it: most of a small refresh's time. The
// measure is kept until one of those changes.
class GridHeader : public QHeaderView {
public:
    explicit GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

    QSize sizeHint() const override
    {
        if (!hint_.isValid())
            hint_ = QHeaderView::sizeHint();
        return hint_;
    }
    void Remeasure()
    {
        hint_ = QSize();
        updateGeometry();
    }

protected:
    void changeEvent(QEvent* e) override
    {
        if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
            hint_ = QSize();
        QHeaderView::changeEvent(e);
    }

private:
    mutable QSize hint_;
};

GridHeader* HeaderOf(const QTableView* grid) { return static_cast<GridHeader*>(grid->horizontalHeader()); }

QString ErrorText(const std::exception& e)
{
    if (const auto* s = dynamic_cast<const store::StoreError*>(&e))
        return s->message();
    return QString::fromLocal8Bit(e.what());
}

bool IsNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent)
    , model_(new RecordModel(this))
{
    setHorizontalHeader(new GridHeader(this));
    setModel(model_);
    // A caption changed or a column shown or hidden.
    connect(model_, &QAbstractItemModel::headerDataChanged, this, [this] { HeaderOf(this)->Remeasure(); });
    setItemDelegate(new GridDelegate(this));

    // The user never selects: the grid shows the current row highlighted or
    // nothing, and that is set by code only.
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(false); // Tab moves to the next control
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    // A highlighted row stays visible when another control has the focus (the
    // order list follows the job grid that way).
    QPalette p = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    setPalette(p);

    // Every row has the same height and none is ever measured, so a view of
    // 200,000 rows costs nothing to show.
    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 6);
    rows->hide();

    QHeaderView* head = horizontalHeader();
    head->setSectionResizeMode(QHeaderView::Interactive);
    head->setSectionsClickable(true);
    head->setHighlightSections(false);
    head->setStretchLastSection(false);
    head->setMinimumSectionSize(4);
    connect(head, &QHeaderView::sectionClicked, this, [this](int section) { emit headClick(section); });
    connect(head, &QHeaderView::sectionResized, this, [this](int section, int, int newSize) {
        if (resizingByCode_ || section < 0 || section >= int(columns_.size()))
            return;
        if (horizontalHeader()->isSectionHidden(section))
            return;
        columns_[size_t(section)].widthTwips = PixelsToTwips(newSize);
        emit columnResized(section);
    });

    // Rows replaced or removed: whatever row number is current, it now shows
    // another record.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { rowStale_ = true; });
    connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { rowStale_ = true; });
}

DataGrid::~DataGrid() = default;

void DataGrid::setView(store::RecordView* view)
{
    for (const auto& c : viewConnections_)
        disconnect(c);
    viewConnections_.clear();
    view_ = view;
    model_->setView(view);
    if (view_) {
        // The model is connected first, so it has the new rows when these run.
        viewConnections_.push_back(
            connect(view_, &store::RecordView::refreshed, this, &DataGrid::afterReset));
        viewConnections_.push_back(
            connect(view_, &store::RecordView::currentChanged, this, &DataGrid::followView));
        viewConnections_.push_back(connect(view_, &QObject::destroyed, this, [this] {
            view_ = nullptr;
            viewConnections_.clear();
        }));
    }
    afterReset();
}

void DataGrid::setColumns(const std::vector<GridColumn>& columns)
{
    columns_ = columns;
    model_->setColumns(columns_);
    HeaderOf(this)->Remeasure();
    if (col_ >= int(columns_.size()))
        col_ = -1;
    applyColumns();
    afterReset();
}

void DataGrid::applyColumns()
{
    const QScopedValueRollback<bool> guard(resizingByCode_, true);
    QHeaderView* head = horizontalHeader();
    for (int i = 0; i < int(columns_.size()); ++i) {
        const GridColumn& c = columns_[size_t(i)];
        head->setSectionHidden(i, false);
        head->resizeSection(i, TwipsToPixels(c.widthTwips));
        head->setSectionHidden(i, !c.visible);
    }
}

int DataGrid::ColumnCount() const
{
    return int(columns_.size());
}

const GridColumn& DataGrid::Column(int index) const
{
    static const GridColumn none;
    if (index < 0 || index >= int(columns_.size()))
        return none;
    return columns_[size_t(index)];
}

void DataGrid::setCaption(int index, const QString& caption)
{
    if (index < 0 || index >= ColumnCount())
        return;
    columns_[size_t(index)].caption = caption;
    model_->setColumn(index, columns_[size_t(index)]);
}

void DataGrid::setWidthTwips(int index, double twips)
{
    if (index < 0 || index >= ColumnCount())
        return;
    columns_[size_t(index)].widthTwips = twips;
    const QScopedValueRollback<bool> guard(resizingByCode_, true);
    if (columns_[size_t(index)].visible)
        horizontalHeader()->resizeSection(index, TwipsToPixels(twips));
}

double DataGrid::WidthTwips(int index) const
{
    return Column(index).widthTwips;
}

void DataGrid::setColumnVisible(int index, bool visible)
{
    if (index < 0 || index >= ColumnCount())
        return;
    GridColumn& c = columns_[size_t(index)];
    c.visible = visible;
    model_->setColumn(index, c);
    const QScopedValueRollback<bool> guard(resizingByCode_, true);
    QHeaderView* head = horizontalHeader();
    head->setSectionHidden(index, false);
    head->resizeSection(index, TwipsToPixels(c.widthTwips));
    head->setSectionHidden(index, !visible);
}

void DataGrid::setLocked(int index, bool locked)
{
    if (index < 0 || index >= ColumnCount())
        return;
    columns_[size_t(index)].locked = locked;
    model_->setColumn(index, columns_[size_t(index)]);
}

void DataGrid::setAlignment(int index, ColumnAlign alignment)
{
    if (index < 0 || index >= ColumnCount())
        return;
    columns_[size_t(index)].alignment = alignment;
    model_->setColumn(index, columns_[size_t(index)]);
}

void DataGrid::setFormat(int index, ColumnFormat format)
{
    if (index < 0 || index >= ColumnCount())
        return;
    columns_[size_t(index)].format = format;
    model_->setColumn(index, columns_[size_t(index)]);
}

void DataGrid::setDataField(int index, const QString& field)
{
    if (index < 0 || index >= ColumnCount())
        return;
    columns_[size_t(index)].dataField = field;
    model_->setColumn(index, columns_[size_t(index)]);
}

// --- current row and cell ---------------------------------------------------

int DataGrid::currentRow() const
{
    const QModelIndex cur = currentIndex();
    if (cur.isValid())
        return cur.row();
    if (view_) {
        const int pos = view_->AbsolutePosition();
        if (pos >= 0 && pos < model_->rowCount())
            return pos;
    }
    return -1;
}

int DataGrid::firstVisibleColumn() const
{
    for (int i = 0; i < ColumnCount(); ++i)
        if (columns_[size_t(i)].visible)
            return i;
    return ColumnCount() > 0 ? 0 : -1;
}

int DataGrid::Col() const
{
    return col_;
}

void DataGrid::setCol(int index)
{
    if (index < -1 || index >= ColumnCount())
        return;
    col_ = index;
    const int row = currentRow();
    if (row >= 0 && index >= 0) {
        const QScopedValueRollback<bool> guard(syncing_, true);
        setCurrentIndex(model_->index(row, index));
    }
}

QString DataGrid::Text() const
{
    return CellText(col_);
}

QVariant DataGrid::Value() const
{
    return CellValue(col_);
}

QString DataGrid::CellText(int column) const
{
    const int row = currentRow();
    if (row < 0 || column < 0 || column >= ColumnCount())
        return {};
    return model_->text(row, column);
}

QVariant DataGrid::CellValue(int column) const
{
    const int row = currentRow();
    if (row < 0 || column < 0 || column >= ColumnCount())
        return {};
    return model_->value(row, column);
}

void DataGrid::setCellText(int column, const QString& text)
{
    const int row = currentRow();
    if (row < 0 || column < 0 || column >= ColumnCount())
        return;
    if (inCycle_) {
        model_->setPending(row, column, text);
        return;
    }
    const int position = model_->fieldPosition(column);
    if (!view_ || position < 0)
        return;
    try {
        if (view_->AbsolutePosition() != row) {
            const QScopedValueRollback<bool> guard(syncing_, true);
            view_->setAbsolutePosition(row);
        }
        view_->Edit();
        view_->setField(position, text);
        view_->Update();
    } catch (...) {
        try {
            view_->CancelUpdate();
        } catch (const std::exception&) {
        }
        throw;
    }
}

DataGrid::HoldFollowing::HoldFollowing(DataGrid* grid) : grid_(grid)
{
    if (grid_)
        ++grid_->holds_;
}

DataGrid::HoldFollowing::~HoldFollowing()
{
    if (!grid_ || --grid_->holds_ > 0)
        return;
    grid_->rowStale_ = true;
    grid_->followView(grid_->view_ ? grid_->view_->AbsolutePosition() : -1);
}

void DataGrid::followView(int row)
{
    if (!view_ || model_->changing() || holds_ > 0)
        return;
    const QScopedValueRollback<bool> guard(syncing_, true);
    if (row >= 0 && row < model_->rowCount()) {
        if (currentIndex().row() != row) {
            int c = col_;
            if (c < 0 || c >= ColumnCount())
                c = firstVisibleColumn();
            if (c >= 0)
                setCurrentIndex(model_->index(row, c));
        } else if (rowStale_) {
            rowStale_ = false;
            lastRow_ = row;
            if (highlight_)
                selectCurrentRow();
            emit rowChanged();
        }
    } else if (currentIndex().isValid()) {
        // Before the first or past the last row: no current row in the grid.
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        selectionModel()->clearSelection();
    }
}

void DataGrid::afterReset()
{
    rowStale_ = true;
    followView(view_ ? view_->AbsolutePosition() : -1);
    if (highlight_)
        selectCurrentRow();
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // The base commits an open editor first, while the view is still on the
    // editor's row.
    QTableView::currentChanged(current, previous);
    if (!current.isValid()) {
        lastRow_ = -1;
        return;
    }
    col_ = current.column();
    if (highlight_)
        selectCurrentRow();
    if (!syncing_ && !model_->changing() && view_ && current.row() != view_->AbsolutePosition()) {
        const QScopedValueRollback<bool> guard(syncing_, true);
        try {
            view_->setAbsolutePosition(current.row());
        } catch (const std::exception&) {
        }
    }
    if (current.row() != lastRow_ || rowStale_) {
        lastRow_ = current.row();
        rowStale_ = false;
        emit rowChanged();
    }
}

// --- highlight and selection ------------------------------------------------

void DataGrid::selectCurrentRow()
{
    const QModelIndex cur = currentIndex();
    if (!cur.isValid()) {
        selectionModel()->clearSelection();
        return;
    }
    selectionModel()->select(cur, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void DataGrid::setHighlight(bool on)
{
    highlight_ = on;
    if (on)
        selectCurrentRow();
    else
        selectionModel()->clearSelection();
}

bool DataGrid::askSelectionChange()
{
    bool cancel = false;
    emit selectionChanging(&cancel);
    // Refused or not, the selection stays what the program made it.
    return cancel;
}

void DataGrid::selectAll()
{
    askSelectionChange();
}

// --- the rest of the grid's properties --------------------------------------

void DataGrid::setTipText(const QString& text)
{
    setToolTip(text);
}

void DataGrid::HoldFields()
{
    holding_ = true;
    held_ = columns_;
}

void DataGrid::Rebind()
{
    if (holding_)
        columns_ = held_;
    holding_ = false;
    held_.clear();
    const int col = col_;
    model_->setColumns(columns_); // finds the fields again in the new result
    applyColumns();
    col_ = col < ColumnCount() ? col : -1;
    afterReset();
}

void DataGrid::setAllowUpdate(bool on)
{
    model_->setEditable(on);
}

bool DataGrid::AllowUpdate() const
{
    return model_->editable();
}

QFont DataGrid::headingFont() const
{
    return horizontalHeader()->font();
}

void DataGrid::setHeadingFont(const QFont& font)
{
    horizontalHeader()->setFont(font);
}

double DataGrid::GridWidthTwips() const
{
    return PixelsToTwips(contentsRect().width());
}

// --- typing into a cell -------------------------------------------------------

void DataGrid::commitCell(const QModelIndex& index, const QString& text)
{
    if (inCycle_ || !view_ || !index.isValid())
        return;
    const int row = index.row();
    const int col = index.column();
    if (text == model_->text(row, col))
        return; // nothing was changed
    const QScopedValueRollback<bool> guard(inCycle_, true);
    if (view_->AbsolutePosition() != row) {
        const QScopedValueRollback<bool> sync(syncing_, true);
        try {
            view_->setAbsolutePosition(row);
        } catch (const std::exception&) {
        }
    }

    bool cancel = false;
    emit beforeColUpdate(col, model_->value(row, col), text, &cancel);
    if (cancel) {
        model_->clearPending();
        return;
    }
    model_->setPending(row, col, text);
    emit afterColUpdate(col);

    cancel = false;
    emit beforeUpdate(&cancel);
    if (cancel) {
        model_->clearPending();
        return;
    }
    if (model_->hasPending())
        storePending();
}

void DataGrid::storePending()
{
    const int row = model_->pendingRow();
    const std::map<int, QString> pending = model_->pending();
    try {
        if (view_->AbsolutePosition() != row) {
            const QScopedValueRollback<bool> sync(syncing_, true);
            view_->setAbsolutePosition(row);
        }
        view_->Edit();
        for (const auto& [column, text] : pending) {
            const int position = model_->fieldPosition(column);
            if (position >= 0)
                view_->setField(position, text);
        }
        view_->Update();
    } catch (const std::exception& e) {
        try {
            view_->CancelUpdate();
        } catch (const std::exception&) {
        }
        model_->clearPending();
        emit updateFailed(ErrorText(e));
        return;
    }
    model_->clearPending();
}

// --- events -------------------------------------------------------------------

void DataGrid::focusInEvent(QFocusEvent* e)
{
    QTableView::focusInEvent(e);
    if (!focusInside_) {
        focusInside_ = true;
        emit focusGained();
    }
}

void DataGrid::focusOutEvent(QFocusEvent* e)
{
    QTableView::focusOutEvent(e);
    // Another window coming to the front or a popup menu opening does not take
    // the focus from the grid's point of view.
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason)
        return;
    checkFocusLeft();
}

void DataGrid::checkFocusLeft()
{
    if (!focusInside_)
        return;
    QWidget* now = QApplication::focusWidget();
    if (now && (now == this || isAncestorOf(now)))
        return; // into the grid's own editor, or back from it
    focusInside_ = false;
    emit focusLost();
}

bool DataGrid::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::FocusOut && watched != this) {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            checkFocusLeft();
    }
    return QTableView::eventFilter(watched, e);
}

void DataGrid::mousePressEvent(QMouseEvent* e)
{
    emit mouseDown(e->button(), e->modifiers());
    const QModelIndex index = indexAt(e->position().toPoint());
    pressOnCell_ = index.isValid();
    dragAsked_ = false;
    // Shift and Ctrl clicks would extend the selection in other lists.
    if (index.isValid() && (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
        askSelectionChange();
    QTableView::mousePressEvent(e);
}

void DataGrid::mouseMoveEvent(QMouseEvent* e)
{
    if ((e->buttons() & Qt::LeftButton) && pressOnCell_ && !dragAsked_) {
        const QModelIndex index = indexAt(e->position().toPoint());
        if (index.isValid() && index.row() != currentIndex().row()) {
            // Dragging over rows is an attempt to select them.
            dragAsked_ = true;
            askSelectionChange();
        }
    }
    QTableView::mouseMoveEvent(e);
}

void DataGrid::mouseReleaseEvent(QMouseEvent* e)
{
    QTableView::mouseReleaseEvent(e);
    const bool click = pressOnCell_ && e->button() == Qt::LeftButton
                       && indexAt(e->position().toPoint()).isValid();
    pressOnCell_ = false;
    if (click)
        emit cellClick();
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableView::mouseDoubleClickEvent(e);
    if (indexAt(e->position().toPoint()).isValid())
        emit cellDoubleClick();
}

void DataGrid::keyPressEvent(QKeyEvent* e)
{
    bool consume = false;
    emit keyDown(e->key(), e->modifiers(), &consume);
    if (consume) {
        e->accept();
        return;
    }
    if (e->matches(QKeySequence::SelectAll)) {
        askSelectionChange();
        e->accept();
        return;
    }
    if ((e->modifiers() & Qt::ShiftModifier) && IsNavigationKey(e->key()))
        askSelectionChange();
    QTableView::keyPressEvent(e);
}

QString DataGrid::CutCellText(const QModelIndex& index) const
{
    if (!index.isValid())
        return {};
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return {};
    // The cell's room less the margins the style draws text within.
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int room = visualRect(index).width() - margin;
    return QFontMetrics(font()).horizontalAdvance(text) > room ? text : QString();
}

bool DataGrid::viewportEvent(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString whole = CutCellText(indexAt(help->pos()));
        if (!whole.isEmpty()) {
            QToolTip::showText(help->globalPos(), whole, viewport(), visualRect(indexAt(help->pos())));
            return true;
        }
    }
    return QTableView::viewportEvent(e);
}

} // namespace ui
