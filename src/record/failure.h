#pragma once
// How the record's internals report a failure: thrown inside the library,
// caught at each public call of the store and turned into a Problem there.

#include "record/problem.h"

#include <QString>
#include <exception>
#include <utility>

namespace record {

struct Failure : std::exception {
    Failure(Reason why, QString where, QString what)
        : reason(why)
        , path(std::move(where))
        , detail(std::move(what))
    {
    }
    const char* what() const noexcept override { return "score record failure"; }

    Reason reason;
    QString path; // the folder or file the player is told about; empty: the record file
    QString detail;
};

} // namespace record
