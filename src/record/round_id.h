#pragma once
// A round's identity across computers: 128 bits, the same in every record
// that holds the round, so that records merge without duplicates.

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace record {

inline constexpr qsizetype kRoundIdBytes = 16;

/// A fresh id for a round being saved: random, from the system's source.
QByteArray randomRoundId();

/// What an id is made from when a round saved before rounds had one is given
/// one: what the round holds, as the record file keeps it (a NULL number as a
/// null variant), so that the same old round in two files gets the same id.
struct RoundContent {
    qint64 playedMs = 0;
    QVariant difficulty, displaySeconds, elapsedSeconds;
    int score = 0;
    QByteArray target, player; // the joint blobs as kept, whatever their size
    int occurrence = 0; // 0 for the first round of a file with all of the above, 1 for the next...
};
QByteArray contentRoundId(const RoundContent& round);

/// The id as a CSV cell: 32 lowercase hexadecimal digits; and back, empty
/// when the text is not one.
QString roundIdText(const QByteArray& id);
QByteArray roundIdOf(const QString& text);

} // namespace record
