#pragma once
// Rounds read from a file to import: those to add, and those left out and why.

#include "record/round_record.h"

#include <QList>
#include <QMap>
#include <QString>

namespace record {

struct SourceRounds {
    QList<RoundRecord> rounds;
    QMap<QString, int> leftOut; // how many rounds were left out, by the reason told to the player
    QString refused; // why the whole file was refused, for the player; empty when it was read
};

} // namespace record
