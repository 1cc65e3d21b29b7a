#pragma once
// Long work on the record (an import, an export, a backup, a large removal):
// done on a thread of its own, with a store and so a connection of its own,
// so that the window stays live. What it has done is shared with the window
// as it goes, and the window may ask it to stop.

#include "record/score_store.h"

#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

namespace record {

/// How far a job has come, and whether it is asked to stop: written by the
/// job's thread, read and asked by the window's.
struct JobProgress {
    std::atomic<qint64> done {0};
    std::atomic<qint64> total {0}; // 0 while not known
    std::atomic<bool> cancelRequested {false};

    void set(qint64 doneNow, qint64 totalNow)
    {
        total = totalNow;
        done = doneNow;
    }
    /// Throws the Failure that ends the job (Reason::Cancelled) if asked to stop.
    void throwIfCancelled() const;
};

/// A job's thread: runs `work` on a store of the record at `path` made on
/// that thread, then hands its result to `done` on `receiver`'s thread. The
/// thread deletes itself once done. `receiver` must outlive it: it waits on
/// the thread (having asked the job to stop) before it goes.
template <class Result>
QThread* startJob(const QString& path, QObject* receiver, std::function<Result(ScoreStore&)> work,
    std::function<void(const Result&)> done)
{
    QThread* thread = QThread::create([path, receiver, work = std::move(work), done = std::move(done)] {
        Result result;
        {
            ScoreStore store(path);
            result = work(store);
        }
        QMetaObject::invokeMethod(
            receiver, [done, result] { done(result); }, Qt::QueuedConnection);
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return thread;
}

} // namespace record
