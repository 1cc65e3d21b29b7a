#pragma once
// The player's score record: every saved round in one SQLite file.

#include "record/change_watch.h"
#include "record/problem.h"
#include "record/record_file.h"
#include "record/round_record.h"
#include "tormell_export.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace record {

struct JobProgress;
class StagedRounds;

/// What a read gives: the value, or an empty one and the problem that stopped
/// it; and the file it was read from, by its identity and its own id, to
/// which what is done with it is bound.
template <class T> struct Read {
    T value {};
    std::optional<Problem> problem;
    RecordIdentity from;
};

/// The record in one file. Nothing is created until the first save. Each save
/// and each removal is one transaction, on disk when the call returns; two
/// copies of the game may write at once. Not to be shared between threads.
class TORMELL_EXPORT ScoreStore : public QObject {
    Q_OBJECT

public:
    explicit ScoreStore(const QString& path, QObject* parent = nullptr);
    ~ScoreStore() override;

    /// scores.sqlite in QStandardPaths::AppDataLocation: $XDG_DATA_HOME/Tormell on
    /// Linux once the application is named Tormell (and no organisation is set).
    /// Empty when the system names no data folder; every save then says so.
    static QString defaultPath();

    const QString& path() const { return m_file.path(); }

    /// The name of the store's Qt SQL connection, for a look at its settings
    /// through QSqlDatabase::database(); open from its first use on.
    const QString& connectionName() const { return m_file.connectionName(); }

    /// Stores `round` and sets its id.
    std::optional<Problem> append(RoundRecord& round);

    /// Adds the rounds not in the record yet, told by their uid, all in one
    /// transaction: on a failure none is added. Returns how many were added.
    struct Added {
        int count = 0;
        int conflicts = 0; // not added: a round with the id is kept with other content, and stays as it is
        std::optional<Problem> problem;
    };
    Added add(const QList<RoundRecord>& rounds);

    /// The same for rounds gathered apart (staged_rounds.h): the write lock is
    /// held only while SQLite copies them over. When `progress` asks it to stop, none is added.
    Added add(StagedRounds& staged, JobProgress* progress = nullptr);

    /// Writes a consistent copy of the whole record to `path`, replacing what
    /// is there only once the copy is complete and on disk; other copies of
    /// the game may be saving meanwhile.
    std::optional<Problem> backup(const QString& path);

    /// Removes the rounds with these ids, all or none, from the file they
    /// were listed from (a Read's `from`). If another file has taken that
    /// one's place since, nothing is removed and the problem says so
    /// (Reason::Replaced): the record is to be read anew.
    std::optional<Problem> remove(const QList<qint64>& ids, const RecordIdentity& listedFrom);

    /// Every round without its joints, oldest first.
    Read<QList<RoundSummary>> rounds();

    /// The rounds played with one setting, oldest first.
    Read<QList<RoundSummary>> rounds(const Setting& setting);

    /// The rounds played at one difficulty, whatever their display time,
    /// oldest first. Given `known`, an earlier read of them: when every round
    /// of `known` is still in the record, only the rounds saved since are read
    /// (a round never changes once saved; rounds are only added and removed),
    /// else all of them. A year of rounds is read in milliseconds after a save.
    Read<QList<RoundSummary>> roundsAtDifficulty(double difficulty, QList<RoundSummary> known = {});

    /// The settings rounds were played with, by difficulty, then display
    /// time; by hand where any of their rounds was kept by 点数保存.
    Read<QList<PlayedSetting>> settings();

    /// The setting of the round played last, by hand unless coached practice
    /// kept it; none while there are no rounds.
    Read<std::optional<PlayedSetting>> latestSetting();

    /// One round with its joints. A round whose joints are missing or
    /// unreadable gives a problem that says it cannot be drawn. Given the
    /// file it was listed from, a round of a file that has taken that one's
    /// place is not read: the problem says so, as remove()'s does.
    Read<RoundRecord> round(qint64 id, std::optional<RecordIdentity> listedFrom = std::nullopt);

    /// Every round with its joints, oldest first: what an export needs. A
    /// round whose joints are missing or unreadable comes marked `damaged`;
    /// it fails neither the others nor the file.
    Read<QList<RoundRecord>> completeRounds();

    /// The same rounds given to `take` one at a time, as they are read, so
    /// that a record of any size is gone through in bounded memory. One
    /// statement: what `take` is given is one snapshot of the record. Gives how many were taken.
    /// `take` may throw a Failure, which ends the reading and is told as the problem.
    Read<qint64> eachCompleteRound(const std::function<void(RoundRecord&)>& take);

    /// How many rounds the record holds.
    Read<qint64> count();

    /// Emits changed() if another copy of the game wrote the record, or the
    /// file was created, removed or replaced, since the last look. Cheap
    /// enough for a timer or a QFileSystemWatcher on the file's folder to call.
    void pollForChanges();

    /// Whether a newer Tormell wrote the record: it is read, never written.
    bool readOnly() const { return m_file.newer(); }

    /// Whether new rounds can be kept, as the last use of the record found:
    /// not when a newer Tormell wrote it, nor when this user may not write the
    /// file or its folder; it is then opened for reading alone, and rounds
    /// stay readable. True before the first use, which may yet fail.
    bool canSave() const { return !m_file.newer() && !m_file.refused(); }

    /// The layout version the file had when it was last opened, before it
    /// was brought up to date: 0 for a file that held no record yet.
    int foundVersion() const { return m_file.foundVersion(); }

    /// What happened to the file that the player should hear of once: a
    /// damaged record moved aside, or one only read because it is newer.
    std::optional<Problem> takeNotice() { return m_file.takeNotice(); }

signals:
    /// The record changed: after a save or a removal here, or one found by pollForChanges().
    void changed();

private:
    template <class Body> std::optional<Problem> attempt(Action action, Body&& body);
    template <class T, class Body> Read<T> attemptRead(Body&& body);

    /// Whether the file open is still the one `listedFrom` names; if not, the Failure that says so.
    void requireListedFrom(const RecordIdentity& listedFrom) const;

    RecordFile m_file;
    ChangeWatch m_watch {m_file};
};

} // namespace record
