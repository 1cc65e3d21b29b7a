#pragma once
// A score record in a folder of its own that goes with it: tests never read
// or write the player's.

#include "record/score_store.h"

#include <QTemporaryDir>

struct TemporaryRecord {
    QTemporaryDir folder;
    record::ScoreStore store{folder.filePath(QStringLiteral("scores.sqlite"))};
};
