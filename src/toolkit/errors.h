#pragma once
// The run-time errors a handler can raise. Nothing in the game catches them:
// they end the running handler and reach the error boundary.

#include <stdexcept>
#include <string>

namespace toolkit {

class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A number too large for the integer or float it is converted to.
class OverflowError : public RuntimeError {
public:
    explicit OverflowError(const std::string& what) : RuntimeError("Overflow: " + what) {}
};

/// An array index outside the array's declared range.
class IndexError : public RuntimeError {
public:
    IndexError(int index, int first, int last)
        : RuntimeError("Subscript out of range: " + std::to_string(index) + " is not in "
                       + std::to_string(first) + ".." + std::to_string(last))
    {
    }
};

} // namespace toolkit
