#include "store/BatchCounter.h"

#include "store/RecordView.h"
#include "store/StoreError.h"

namespace store {

double TakeBatchNumber(const QString& jobStorePath)
{
    RecordView counter(QStringLiteral("RecSay"));
    counter.setDatabaseName(jobStorePath);
    // Held here so the transaction's connection lives until it is committed,
    // also when no other view has the job store open.
    const auto conn = Connection::Open(jobStorePath);
    Transaction t(*conn);
    counter.setRecordSource(QStringLiteral("RecSay"));
    counter.Refresh();
    if (counter.EOF())
        throw StoreError(QStringLiteral("\"RecSay\" tablosunda kayıt yok: %1").arg(jobStorePath));
    const double next = counter.Field(0).toDouble() + 1;
    counter.Edit();
    counter.setField(0, next);
    counter.Update();
    t.Commit();
    return next;
}

} // namespace store
