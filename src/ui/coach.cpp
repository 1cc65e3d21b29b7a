#include "ui/coach.h"

#include "core/staircase.h"
#include "record/score_store.h"
#include "ui/player_settings.h"


#include <algorithm>
#include <cmath>

namespace ui::coach {

namespace {

const QString kPracticeKey = QStringLiteral("coach/practice");
constexpr int kHighestScore = 100;

// Moments are compared as milliseconds since 1970: comparing a round's time
// with the local "now" would look up the time zone (a file read, with glibc)
// for each of thousands of rounds.
bool believable(const record::RoundSummary& round, qint64 nowMs)
{
    return std::isfinite(round.displaySeconds) && round.displaySeconds > 0 && round.score >= 0
        && round.score <= kHighestScore && round.playedAt.isValid() && round.playedAt.toMSecsSinceEpoch() <= nowMs;
}

core::Trial trialOf(const record::RoundSummary& round)
{
    return {round.displaySeconds, core::remembered(round.score)};
}

template <class Wanted>
Reading read(const QList<record::RoundSummary>& rounds, const QDateTime& now, Wanted wanted)
{
    Reading reading;
    const qint64 nowMs = now.toMSecsSinceEpoch();
    for (const record::RoundSummary& round : rounds) {
        if (!believable(round, nowMs))
            ++reading.leftOut;
        else if (wanted(round))
            reading.trials.push_back(trialOf(round));
    }
    return reading;
}

} // namespace

bool practiceOn()
{
    return playerSettings().value(kPracticeKey, false).toBool();
}

void setPracticeOn(bool on)
{
    playerSettings().setValue(kPracticeKey, on);
}

Reading coachedRounds(const QList<record::RoundSummary>& rounds, const QDateTime& now)
{
    return read(rounds, now, [](const record::RoundSummary& round) { return round.coached; });
}

Reading windowRounds(const QList<record::RoundSummary>& rounds, const QDateTime& until, const QDateTime& now)
{
    const qint64 fromMs = until.addDays(-kWindowDays).toMSecsSinceEpoch(), untilMs = until.toMSecsSinceEpoch();
    return read(rounds, now, [&](const record::RoundSummary& round) {
        const qint64 playedMs = round.playedAt.toMSecsSinceEpoch();
        return playedMs > fromMs && playedMs <= untilMs;
    });
}

QList<DayEstimate> dailyMemorySpeed(const QList<record::RoundSummary>& rounds, const QDateTime& now)
{
    QList<QDate> days;
    const qint64 nowMs = now.toMSecsSinceEpoch();
    for (const record::RoundSummary& round : rounds)
        if (believable(round, nowMs) && (days.isEmpty() || days.last() != round.playedAt.date()))
            days.append(round.playedAt.date());
    // Rounds played in other time zones may come out of date order.
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());

    QList<DayEstimate> estimates;
    for (const QDate& day : days) {
        // The day's end, or now for today: a round played since counts too.
        const QDateTime until = std::min(day.addDays(1).startOfDay().addMSecs(-1), now);
        const Reading window = windowRounds(rounds, until, now);
        if (const auto fit = core::memorySpeed(window.trials); fit.estimate)
            estimates.append({day, *fit.estimate});
    }
    return estimates;
}

std::optional<double> nextSeconds(record::ScoreStore& store, double difficulty, double boxSeconds)
{
    const auto rounds = store.roundsAtDifficulty(difficulty);
    if (rounds.problem)
        return std::nullopt;
    const Reading coached = coachedRounds(rounds.value, QDateTime::currentDateTime());
    return core::nextDisplaySeconds(coached.trials, boxSeconds);
}

} // namespace ui::coach
