// Checked floating-point operations: where the program's rules stop a calculation
// (x/0, 0/0, a power without a real value, overflow) they raise the program's
// floating-point errors instead of producing "inf" or "nan".
#pragma once

namespace halvern {

// a / b: EZeroDivide for x/0, EInvalidOp for 0/0, EOverflow when the quotient overflows.
double FDiv(double a, double b);
// base ^ exponent as the real power function: EInvalidOp for a negative base with a
// fractional exponent, EZeroDivide for 0 to a negative power, EOverflow on overflow.
double FPow(double base, double exponent);
// Natural logarithm: EInvalidOp for x < 0, EZeroDivide for x = 0.
double FLn(double x);
// Passes a finite value through; EInvalidOp for nan, EOverflow for an infinity.
double Checked(double value);

} // namespace halvern
