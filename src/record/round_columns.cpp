#include "record/round_columns.h"

#include "record/time_text.h"

#include <QStringList>

namespace record {

namespace {

template <class Round> QString columnsOf()
{
    QStringList names;
    Round round;
    eachStored(round, [&](const RoundColumn& column, const auto&) { names << QLatin1StringView(column.sql); });
    return names.join(QStringLiteral(", "));
}

void append(QVariantList& values, const QDateTime& when)
{
    values << isoText(when) << when.toMSecsSinceEpoch();
}

// An empty verdict is a verdict: not bound as NULL, which the column refuses.
void append(QVariantList& values, const QString& text)
{
    values << (text.isNull() ? QStringLiteral("") : text);
}

template <class T> void append(QVariantList& values, const T& value)
{
    values << QVariant::fromValue(value);
}

} // namespace

const QString& roundColumns()
{
    static const QString kColumns = columnsOf<RoundRecord>();
    return kColumns;
}

const QString& summaryColumns()
{
    static const QString kColumns = columnsOf<RoundSummary>();
    return kColumns;
}

QVariantList roundValues(const RoundRecord& round)
{
    QVariantList values;
    eachStored(round, [&](const RoundColumn&, const auto& value) { append(values, value); });
    return values;
}

QString placeholders(const QString& columns)
{
    return QStringList(columns.count(QLatin1Char(',')) + 1, QStringLiteral("?")).join(QStringLiteral(", "));
}

} // namespace record
