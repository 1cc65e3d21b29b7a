#include "ui/coach.h"

#include "core/staircase.h"
#include "record/score_store.h"
#include "ui/player_settings.h"

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
    Reading reading;
    const qint64 nowMs = now.toMSecsSinceEpoch();
    for (const record::RoundSummary& round : rounds) {
        if (!round.coached)
            continue;
        if (!believable(round, nowMs))
            ++reading.leftOut;
        else if (round.nearRest)
            ++reading.nearRest;
        else
            reading.rounds.push_back({round.playedAt, {round.displaySeconds, core::remembered(round.score)}});
    }
    return reading;
}

std::vector<core::Trial> trialsOf(const Reading& reading)
{
    std::vector<core::Trial> trials;
    trials.reserve(reading.rounds.size());
    for (const core::DatedTrial& dated : reading.rounds)
        trials.push_back(dated.trial);
    return trials;
}

std::optional<double> nextSeconds(
    record::ScoreStore& store, double difficulty, double boxSeconds, DifficultyRounds& known)
{
    QList<record::RoundSummary> before;
    if (record::sameNumber(known.difficulty, difficulty))
        before = std::move(known.rounds);
    known = {};
    auto rounds = store.roundsAtDifficulty(difficulty, std::move(before));
    if (rounds.problem)
        return std::nullopt;
    known = {difficulty, std::move(rounds.value)};
    return core::nextDisplaySeconds(trialsOf(coachedRounds(known.rounds, QDateTime::currentDateTime())), boxSeconds);
}

} // namespace ui::coach
