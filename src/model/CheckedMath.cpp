// Checked floating-point operations: a calculation that would yield "inf" or "nan"
// stops with the program's floating-point error instead.
#include "model/CheckedMath.h"

#include "model/Errors.h"

#include <cmath>

namespace halvern {

void RaiseNonFinite(double value) {
    if (std::isnan(value)) throw EInvalidOp();
    throw EOverflow();
}

void RaiseDivisionByZero(double numerator) {
    if (numerator == 0.0 || std::isnan(numerator)) throw EInvalidOp();
    throw EZeroDivide();
}

double FPowSpecialCases(double base, double exponent) {
    if (std::isnan(base) || std::isnan(exponent)) throw EInvalidOp();
    if (exponent == 0.0) return 1.0;
    if (base == 0.0) {
        if (exponent > 0.0) return 0.0;
        throw EZeroDivide();
    }
    // A negative base has a real power only for a whole exponent.
    if (base < 0.0 && std::trunc(exponent) != exponent) throw EInvalidOp();
    return Checked(std::pow(base, exponent));
}

double FLn(double x) {
    if (std::isnan(x) || x < 0.0) throw EInvalidOp();
    if (x == 0.0) throw EZeroDivide();
    return Checked(std::log(x));
}

} // namespace halvern
