#include "search/FindCriteria.h"

#include "store/RecordView.h"
#include "store/Sql.h"
#include "ui/GridColumn.h"

#include <QFontMetrics>

namespace search {

namespace {

QString WildcardIForms(QString text)
{
    for (const QChar c : {QChar(u'i'), QChar(u'ı'), QChar(u'İ'), QChar(u'I')})
        text.replace(c, QLatin1Char('?'));
    return text;
}

} // namespace

QString DisplayPattern(const QString& typed)
{
    return WildcardIForms(typed);
}

Criteria Criteria::ForText(const QString& typed)
{
    Criteria c;
    c.field = QStringLiteral("SipNo");
    c.pattern = WildcardIForms(store::LikeTypedText(typed)) + QLatin1Char('*');
    c.pattern.replace(QStringLiteral("**"), QStringLiteral("*"));
    return c;
}

QString Criteria::text() const
{
    return field + QStringLiteral(" Like ") + store::SqlText(pattern);
}

bool FindByNumberNameOrProduct(store::RecordView& view, Criteria& criteria)
{
    for (const char* field : {"SipNo", "CariAdi", "StokAdi"}) {
        criteria.field = QString::fromLatin1(field);
        view.FindFirst(criteria.text());
        if (!view.NoMatch())
            return true;
    }
    return false;
}

QString FitToWidth(QString text, const QString& before, const QString& after, const QFontMetrics& metrics,
                   double maxTwips)
{
    while (!text.isEmpty() && ui::PixelsToTwips(metrics.horizontalAdvance(before + text + after)) > maxTwips)
        text.chop(1);
    return text;
}

} // namespace search
