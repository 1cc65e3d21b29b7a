#include "record/round_id.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QtEndian>
#include <algorithm>
#include <bit>

namespace record {

namespace {

// Every field written at a fixed size in a fixed byte order, a number
// preceded by whether it is there, so that no two contents give the same bytes.
void appendInteger(QByteArray& bytes, qint64 value)
{
    const qint64 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

void appendNumber(QByteArray& bytes, const QVariant& value)
{
    bytes.append(value.isNull() ? '\0' : '\1');
    appendInteger(bytes, value.isNull() ? 0 : std::bit_cast<qint64>(value.toDouble()));
}

void appendBlob(QByteArray& bytes, const QByteArray& blob)
{
    appendInteger(bytes, blob.size());
    bytes.append(blob);
}

} // namespace

QByteArray randomRoundId()
{
    QByteArray id(kRoundIdBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(id.data()), kRoundIdBytes / sizeof(quint32));
    return id;
}

QByteArray contentRoundId(const RoundContent& round)
{
    QByteArray bytes;
    appendInteger(bytes, round.playedMs);
    appendNumber(bytes, round.difficulty);
    appendNumber(bytes, round.displaySeconds);
    appendNumber(bytes, round.elapsedSeconds);
    appendInteger(bytes, round.score);
    appendBlob(bytes, round.target);
    appendBlob(bytes, round.player);
    appendInteger(bytes, round.occurrence);
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).first(kRoundIdBytes);
}

QString roundIdText(const QByteArray& id)
{
    return QString::fromLatin1(id.toHex());
}

QByteArray roundIdOf(const QString& text)
{
    static const QString kHexDigits = QStringLiteral("0123456789abcdefABCDEF");
    if (text.size() != 2 * kRoundIdBytes
        || !std::all_of(text.begin(), text.end(), [](QChar c) { return kHexDigits.contains(c); }))
        return {};
    return QByteArray::fromHex(text.toLatin1());
}

} // namespace record
