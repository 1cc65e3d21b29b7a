#include "record/csv_format.h"

#include <QLocale>
#include <cmath>

namespace record::csv {

namespace {

const QChar kEscape = QLatin1Char('\'');

bool escaped(const QString& text)
{
    // Only texts: a negative number must stay a number.
    static const QString kFormulaStarts = QStringLiteral("=+-@\t\r");
    return !text.isEmpty() && (kFormulaStarts.contains(text.front()) || text.front() == kEscape);
}

QStringList makeHeadings()
{
    QStringList names;
    for (const RoundColumn& column : kRoundColumns) {
        const auto heading = QStringView(column.heading).toString();
        if (!std::holds_alternative<PoseField>(column.field)) {
            names << heading;
            continue;
        }
        for (std::size_t joint = 1; joint <= core::kJointCount; ++joint)
            names << QStringLiteral("%1 関節%2 X").arg(heading).arg(joint)
                  << QStringLiteral("%1 関節%2 Y").arg(heading).arg(joint);
    }
    return names;
}

} // namespace

const QStringList& headings()
{
    static const QStringList kHeadings = makeHeadings();
    Q_ASSERT(kHeadings.size() == ColumnCount);
    return kHeadings;
}

QString numberText(double value)
{
    // Qt writes -0 as "0"; a joint keeps the sign of its zero.
    if (value == 0 && std::signbit(value))
        return QStringLiteral("-0");
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<double> numberOf(QStringView cell)
{
    // Without group separators: "1,500" is no number the export writes.
    static const QLocale kC = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        return c;
    }();
    bool ok = false;
    const double value = kC.toDouble(cell.trimmed(), &ok);
    return ok ? std::optional(value) : std::nullopt;
}

QString textCell(const QString& text)
{
    return escaped(text) ? kEscape + text : text;
}

QString textOf(const QString& cell)
{
    return cell.startsWith(kEscape) ? cell.mid(1) : cell;
}

} // namespace record::csv
