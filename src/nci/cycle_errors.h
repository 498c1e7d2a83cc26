// Exceptions of the cycle classes: a rejected cycle parameter ends the conversion of the program.
#pragma once

#include <exception>

namespace morvane {

// A parameter index that the cycle class does not accept.
class CycleWrongCode : public std::exception {
  public:
    const char* what() const noexcept override { return "cycle parameter index not accepted"; }
};

// A parameter value that the cycle class rejects (a negative dwell time).
class CycleWrongValue : public std::exception {
  public:
    const char* what() const noexcept override { return "cycle parameter value rejected"; }
};

}  // namespace morvane
