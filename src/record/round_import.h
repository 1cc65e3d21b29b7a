#pragma once
// Bringing rounds from other files into the record: Tormell records
// (another computer's, or a backup) and the record's CSV exports. A file is
// told apart by its content, not its name. The rounds not yet in the record,
// by their id, are added in one transaction; bad input changes nothing.

#include "record/problem.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace record {

class ScoreStore;
struct JobProgress;

struct ImportReport {
    struct Refusal {
        QString path;
        QString reason; // for the player; empty when `problem` says why
        std::optional<Problem> problem; // the file, a record, could not be read
    };
    int added = 0;
    int alreadyKept = 0; // in the record already, or twice among the files
    QMap<QString, int> leftOut; // rounds of the files left out, by reason
    QList<Refusal> refused; // files not read at all
    std::optional<Problem> problem; // the record could not take the rounds: none was added

    /// Whether a file was refused or the record could not take the rounds.
    bool failed() const { return problem || !refused.isEmpty(); }
};

/// Imports `paths` into `store`; `progress`, if given, counts the rounds
/// added once the files are read, and may stop the import before anything is added.
ImportReport importFiles(ScoreStore& store, const QStringList& paths, JobProgress* progress = nullptr);

/// Writes a problem's sentence for the player. The sentences are the
/// windows' (ui::problemText): the import's own texts below, still written
/// in this layer, are handed it by their callers.
using ProblemText = QString (*)(const Problem&);

/// Why a file was refused, or the record took no rounds; empty when neither.
QString failureText(const ImportReport& report, ProblemText problemText);

/// The counts of rounds added, kept already and left out, and each reason
/// rounds were left out.
QString countsText(const ImportReport& report);

/// The report for the player: failureText(), then countsText().
QString reportText(const ImportReport& report, ProblemText problemText);

} // namespace record
