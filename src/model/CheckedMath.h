// Checked floating-point operations: where the program's rules stop a calculation
// (x/0, 0/0, a power without a real value, overflow) they raise the program's
// floating-point errors instead of producing "inf" or "nan".
#pragma once
#include <cmath>

namespace halvern {

// The errors themselves, raised out of line: the checks sit in the innermost loops of the
// valve scenarios and stay small enough to be inlined there.
[[noreturn]] void RaiseNonFinite(double value);
[[noreturn]] void RaiseDivisionByZero(double numerator);

// Passes a finite value through; EInvalidOp for nan, EOverflow for an infinity.
inline double Checked(double value) {
    if (!std::isfinite(value)) RaiseNonFinite(value);
    return value;
}

// a / b: EZeroDivide for x/0, EInvalidOp for 0/0, EOverflow when the quotient overflows.
inline double FDiv(double a, double b) {
    if (b == 0.0) RaiseDivisionByZero(a);
    return Checked(a / b);
}

// The cases of FPow other than a positive base with a nonzero exponent.
double FPowSpecialCases(double base, double exponent);

// base ^ exponent as the real power function: EInvalidOp for a negative base with a
// fractional exponent, EZeroDivide for 0 to a negative power, EOverflow on overflow.
// The leakage law takes a positive pressure ratio to the power N1 thousands of times a
// run; that case goes straight to the power.
inline double FPow(double base, double exponent) {
    if (base > 0.0 && exponent != 0.0 && !std::isnan(exponent)) return Checked(std::pow(base, exponent));
    return FPowSpecialCases(base, exponent);
}
// Natural logarithm: EInvalidOp for x < 0, EZeroDivide for x = 0.
double FLn(double x);

} // namespace halvern
