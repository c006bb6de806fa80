#pragma once

#include "store/RecordView.h"
#include "store/Sql.h"
#include "store/StoreError.h"

// Small pieces the board's handlers share.
namespace board {

// field='value', the value quoted for SQL.
inline QString Criteria(const char* field, const QString& value)
{
    return QString::fromUtf8(field) + QLatin1Char('=') + store::SqlText(value);
}

// The view has a current row to read.
inline bool HasRow(const store::RecordView& v)
{
    return v.RecordCount() > 0 && !v.BOF() && !v.EOF();
}

// For actions that go on past a failing step: the step is skipped.
template <typename Step> void Try(Step&& step)
{
    try {
        step();
    } catch (const store::StoreError&) {
    }
}

// After a delete the row after it is current; past the end, the last row.
inline void StayInside(store::RecordView& v)
{
    if (v.EOF() && v.RecordCount() > 0)
        v.MoveLast();
}

} // namespace board
