// The program's two kinds of calculation error. Both end the running event
// handler; the dispatch point of the forms shows their message in an error box.
#pragma once
#include "model/Messages.h"
#include <stdexcept>
#include <string>

namespace halvern {

// A text that should have held a number: "'%s' is not a valid floating point value".
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Floating-point errors that stop a calculation rather than show "inf" or "nan".
class EMathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EZeroDivide : public EMathError {
public:
    EZeroDivide() : EMathError(Msg::FloatingPointDivisionByZero) {}
};

class EInvalidOp : public EMathError {
public:
    EInvalidOp() : EMathError(Msg::InvalidFloatingPointOperation) {}
};

class EOverflow : public EMathError {
public:
    EOverflow() : EMathError(Msg::FloatingPointOverflow) {}
};

} // namespace halvern
