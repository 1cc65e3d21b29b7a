#pragma once
// A score record in a folder of its own that goes with it: tests never read
// or write the player's.

#include "record/score_store.h"

#include <QTemporaryDir>

struct TemporaryRecord {
    static inline const QString kFileName = QStringLiteral("scores.sqlite");

    /// The record at `fileName` inside the folder, which may name folders not made yet.
    explicit TemporaryRecord(const QString& fileName = kFileName) : store(folder.filePath(fileName)) {}

    QTemporaryDir folder;
    record::ScoreStore store;
};
