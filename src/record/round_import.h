#pragma once
// Bringing rounds from other files into the record: Tormell records
// (another computer's, or a backup) and the record's CSV exports. A file is
// told apart by its content, not its name. The rounds not yet in the record,
// by their id, are added in one transaction; bad input changes nothing.

#include "record/problem.h"
#include "record/source_rounds.h"
#include "tormell_export.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace record {

class ScoreStore;
struct JobProgress;

struct ImportReport {
    struct Refused : FileRefusal {
        QString path;
    };
    int added = 0;
    int alreadyKept = 0; // in the record already, or twice among the files
    QMap<LeftOut, int> leftOut; // rounds of the files left out, by reason
    struct Line {
        QString path;
        qint64 line = 0; // from 1
    };
    QList<Line> leftOutLines; // where the first rows left out of CSV files begin, kLeftOutLinesTold at most
    QList<Refused> refused; // files not read at all
    std::optional<Problem> problem; // the record could not take the rounds: none was added

    /// Whether a file was refused or the record could not take the rounds.
    bool failed() const { return problem || !refused.isEmpty(); }
};

/// Imports `paths` into `store`; `progress`, if given, counts the share of
/// the files read, and may stop the import before anything is added.
TORMELL_EXPORT ImportReport importFiles(ScoreStore& store, const QStringList& paths, JobProgress* progress = nullptr);

} // namespace record
