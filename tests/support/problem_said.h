#pragma once
// What the player is told of a problem of the record, for tests of the
// record below the windows: its sentence, or nothing when there is none.

#include "record/problem.h"
#include "ui/problem_text.h"

#include <QString>
#include <optional>

inline QString said(const std::optional<record::Problem>& problem)
{
    return problem ? ui::problemText(*problem) : QString();
}
