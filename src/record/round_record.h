#pragma once
// One played round as the score record keeps it.

#include "core/joints.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cmath>

namespace record {

/// The best score a round can have; the least is 0.
inline constexpr int kHighestScore = 100;

/// A round without its joints: what a table or a chart of many rounds needs.
struct RoundSummary {
    qint64 id = 0; // row id once stored, 0 before
    QDateTime playedAt; // kept as ISO 8601 with the local UTC offset of the moment
    double difficulty = 0; // as the result dialog shows it
    double displaySeconds = 0; // may be infinite when the player typed one too large
    double elapsedSeconds = 0;
    int score = 0; // 0..kHighestScore
    QString verdict; // kept character for character
    int gridLines = 0; // 0..11
    bool coached = false; // kept by coached practice, at its check, rather than by 点数保存
    bool nearRest = false; // the target hardly left the rest pose: nothing to remember (core::nearRest)
};

/// A whole round: its summary and both poses in twips.
struct RoundRecord : RoundSummary {
    core::Joints target {};
    core::Joints player {};
    bool damaged = false; // read back without its joints (missing, or not nine points): both poses left at 0
    QByteArray uid; // the same on every computer (round_id.h); a save gives a round without one a random one
};

/// Whether two numbers read from the record are the same; a missing one (a
/// NULL in the file, read as NaN) is the same as itself.
inline bool sameNumber(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

/// The settings a player compares rounds by.
struct Setting {
    double difficulty = 0;
    double displaySeconds = 0;

    // Not defaulted: a setting whose difficulty is missing is still itself.
    friend bool operator==(const Setting& a, const Setting& b)
    {
        return sameNumber(a.difficulty, b.difficulty) && sameNumber(a.displaySeconds, b.displaySeconds);
    }
};

/// A setting as the record holds it: whether the player chose it, playing
/// by hand, for one round of it at least, or coached practice alone did.
struct PlayedSetting {
    Setting setting;
    bool byHand = false;

    friend bool operator==(const PlayedSetting& a, const PlayedSetting& b) = default;
};

} // namespace record
