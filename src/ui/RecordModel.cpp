#include "ui/RecordModel.h"

#include "store/Sql.h"
#include "store/Values.h"

#include "store/RecordView.h"
#include "store/StoreError.h"

#include <QDateTime>
#include <QLocale>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

const QString kCheck = QStringLiteral("\u2713"); // ✓

// A number with no needless decimals and no thousands separator, in the
// program's locale: 5 -> "5", 2.5 -> "2,5" in Turkish, 0.1 + 0.2 -> "0,3".
QString FormatNumber(double d)
{
    if (!std::isfinite(d))
        return QString::number(d);
    if (d == 0)
        return QStringLiteral("0"); // no "-0"
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    // 15 significant digits, as much as a double holds without noise.
    return locale.toString(d, 'g', 15);
}

QString FormatDateTime(const QDateTime& dt)
{
    const QTime t = dt.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return dt.toString(QStringLiteral("dd.MM.yyyy"));
    return dt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

// A date held as text ("2024-02-29 00:00:00", as the stores keep dates).
QDateTime ParseDateText(const QString& s) { return store::ParseIsoDateTime(QStringView(s).trimmed()); }

bool Truthy(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString) {
        const QString s = QLocale(QLocale::Turkish).toLower(v.toString().trimmed());
        return !(s.isEmpty() || s == QLatin1String("0") || s == QLatin1String("false")
                 || s == QStringLiteral("hayır"));
    }
    if (store::IsNumeric(v))
        return v.toDouble() != 0;
    return v.toBool();
}

} // namespace

RecordModel::RecordModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void RecordModel::setView(store::RecordView* view)
{
    beginResetModel();
    for (const auto& c : connections_)
        disconnect(c);
    connections_.clear();
    view_ = view;
    pending_.clear();
    pendingRow_ = -1;
    if (view_) {
        connections_.push_back(connect(view_, &store::RecordView::refreshed, this, &RecordModel::onRefreshed));
        connections_.push_back(connect(view_, &store::RecordView::rowChanged, this, &RecordModel::onRowChanged));
        connections_.push_back(connect(view_, &store::RecordView::rowInserted, this, &RecordModel::onRowInserted));
        connections_.push_back(connect(view_, &store::RecordView::rowRemoved, this, &RecordModel::onRowRemoved));
        connections_.push_back(connect(view_, &QObject::destroyed, this, [this] {
            beginResetModel();
            view_ = nullptr;
            connections_.clear();
            rows_ = 0;
            positions_.assign(columns_.size(), -1);
            endResetModel();
        }));
    }
    rows_ = view_ ? view_->RecordCount() : 0;
    resolvePositions();
    endResetModel();
}

void RecordModel::setColumns(const std::vector<GridColumn>& columns)
{
    beginResetModel();
    columns_ = columns;
    alignments_.clear();
    for (const GridColumn& c : columns_)
        alignments_.push_back(Alignment(c.alignment));
    pending_.clear();
    pendingRow_ = -1;
    resolvePositions();
    endResetModel();
}

void RecordModel::setColumn(int index, const GridColumn& column)
{
    if (index < 0 || index >= int(columns_.size()))
        return;
    const bool rebind = columns_[size_t(index)].dataField != column.dataField;
    columns_[size_t(index)] = column;
    alignments_[size_t(index)] = Alignment(column.alignment);
    if (rebind)
        resolvePositions();
    emit headerDataChanged(Qt::Horizontal, index, index);
    if (rows_ > 0)
        emit dataChanged(this->index(0, index), this->index(rows_ - 1, index));
}

void RecordModel::setEditable(bool on)
{
    if (editable_ == on)
        return;
    editable_ = on;
    if (rows_ > 0 && !columns_.empty())
        emit dataChanged(index(0, 0), index(rows_ - 1, int(columns_.size()) - 1));
}

void RecordModel::resolvePositions()
{
    positions_.assign(columns_.size(), -1);
    viewReadOnly_ = view_ ? view_->ReadOnly() : true;
    if (!view_)
        return;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (!columns_[i].dataField.isEmpty())
            positions_[i] = view_->FieldIndex(columns_[i].dataField);
    }
}

void RecordModel::onRefreshed()
{
    const QScopedValueRollback<bool> guard(changing_, true);
    beginResetModel();
    pending_.clear();
    pendingRow_ = -1;
    rows_ = view_ ? view_->RecordCount() : 0;
    // Another record source may put the fields elsewhere.
    resolvePositions();
    endResetModel();
}

void RecordModel::onRowChanged(int row)
{
    if (row < 0 || row >= rows_)
        return;
    // Someone stored the row: what is stored now wins over what was typed.
    if (row == pendingRow_)
        clearPending();
    if (!columns_.empty())
        emit dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
}

void RecordModel::onRowInserted(int row)
{
    const QScopedValueRollback<bool> guard(changing_, true);
    row = std::clamp(row, 0, rows_);
    beginInsertRows({}, row, row);
    ++rows_;
    if (pendingRow_ >= row)
        ++pendingRow_;
    endInsertRows();
}

void RecordModel::onRowRemoved(int row)
{
    if (row < 0 || row >= rows_)
        return;
    const QScopedValueRollback<bool> guard(changing_, true);
    // The view has already dropped the row; until the views over the model
    // have heard of it, rows below it are read one place up.
    removingRow_ = row;
    beginRemoveRows({}, row, row);
    removingRow_ = -1;
    --rows_;
    if (pendingRow_ == row) {
        pending_.clear();
        pendingRow_ = -1;
    } else if (pendingRow_ > row) {
        --pendingRow_;
    }
    endRemoveRows();
}

int RecordModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int RecordModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

int RecordModel::fieldPosition(int column) const
{
    if (column < 0 || column >= int(positions_.size()))
        return -1;
    return positions_[size_t(column)];
}

QVariant RecordModel::stored(int row, int column) const
{
    const int position = fieldPosition(column);
    if (!view_ || position < 0 || row < 0 || row >= rows_)
        return {};
    if (removingRow_ >= 0) {
        if (row == removingRow_)
            return {};
        if (row > removingRow_)
            --row;
    }
    QVariant v = view_->ValueAt(row, position);
    // Yes/No fields may come back as 0/1; dates as the stores' text.
    switch (view_->TypeOf(position)) {
    case store::FieldType::YesNo:
        if (v.isValid() && v.typeId() != QMetaType::Bool)
            v = Truthy(v);
        break;
    case store::FieldType::DateTime:
        if (v.typeId() == QMetaType::QString) {
            const QDateTime dt = ParseDateText(v.toString());
            if (dt.isValid())
                v = dt;
        }
        break;
    default:
        break;
    }
    return v;
}

QVariant RecordModel::value(int row, int column) const
{
    if (row == pendingRow_) {
        const auto it = pending_.find(column);
        if (it != pending_.end())
            return it->second;
    }
    return stored(row, column);
}

QString RecordModel::text(int row, int column) const
{
    if (row == pendingRow_) {
        const auto it = pending_.find(column);
        if (it != pending_.end())
            return it->second;
    }
    if (column < 0 || column >= int(columns_.size()))
        return {};
    return FormatValue(stored(row, column), columns_[size_t(column)].format);
}

QVariant RecordModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= int(columns_.size()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: // a plain text editor, whatever the field's type
        return text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignments_[size_t(index.column())]);
    default:
        return {};
    }
}

QVariant RecordModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < rows_)
            return section + 1;
        return {};
    }
    if (section < 0 || section >= int(columns_.size()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return columns_[size_t(section)].caption;
    case Qt::TextAlignmentRole:
        // Headings are aligned like their data (their blanks assume it).
        return QVariant::fromValue(alignments_[size_t(section)]);
    default:
        return {};
    }
}

Qt::ItemFlags RecordModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const size_t c = size_t(index.column());
    if (editable_ && !viewReadOnly_ && c < columns_.size() && !columns_[c].locked
        && positions_[c] >= 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool RecordModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    try {
        if (view_->AbsolutePosition() != index.row())
            view_->setAbsolutePosition(index.row());
        view_->Edit();
        view_->setField(fieldPosition(index.column()), value);
        view_->Update();
        return true;
    } catch (const store::StoreError&) {
        try {
            view_->CancelUpdate();
        } catch (const store::StoreError&) {
        }
        return false;
    }
}

void RecordModel::setPending(int row, int column, const QString& text)
{
    if (row < 0 || row >= rows_ || column < 0 || column >= int(columns_.size()))
        return;
    if (pendingRow_ != row) {
        clearPending();
        pendingRow_ = row;
    }
    pending_[column] = text;
    emit dataChanged(index(row, column), index(row, column));
}

void RecordModel::clearPending()
{
    if (pending_.empty()) {
        pendingRow_ = -1;
        return;
    }
    const int row = pendingRow_;
    std::map<int, QString> was;
    was.swap(pending_);
    pendingRow_ = -1;
    if (row >= 0 && row < rows_) {
        for (const auto& [column, text] : was)
            emit dataChanged(index(row, column), index(row, column));
    }
}

QString RecordModel::FormatValue(const QVariant& v, ColumnFormat format)
{
    if (!v.isValid() || v.isNull())
        return {};
    const int id = v.typeId();
    switch (format) {
    case ColumnFormat::YesNo:
        // A check mark for Yes and nothing for No reads at a glance.
        return Truthy(v) ? kCheck : QString();
    case ColumnFormat::GeneralNumber:
        if (store::IsNumeric(v) || id == QMetaType::Bool)
            return FormatNumber(v.toDouble());
        if (id == QMetaType::QString) {
            bool ok = false;
            const double d = v.toString().trimmed().toDouble(&ok);
            if (ok)
                return FormatNumber(d);
        }
        return v.toString();
    case ColumnFormat::GeneralDate:
        if (id == QMetaType::QString) {
            const QDateTime dt = ParseDateText(v.toString());
            return dt.isValid() ? FormatDateTime(dt) : v.toString();
        }
        break;
    case ColumnFormat::None:
        break;
    }
    switch (id) {
    case QMetaType::QDateTime:
        return FormatDateTime(v.toDateTime());
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::Bool:
        return v.toBool() ? kCheck : QString();
    case QMetaType::Double:
    case QMetaType::Float:
        return FormatNumber(v.toDouble());
    default:
        return v.toString();
    }
}

Qt::Alignment RecordModel::Alignment(ColumnAlign align)
{
    switch (align) {
    case ColumnAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlign::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case ColumnAlign::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace ui
