// Checked floating-point operations: the errors that stop a calculation instead of
// letting "inf" or "nan" reach a table.
#include "model/CheckedMath.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace halvern {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// The message the error box shows, or "" when the operation passed.
std::string MessageOf(const std::function<double()>& operation) {
    try {
        operation();
    } catch (const EMathError& e) {
        return e.what();
    }
    return "";
}

const std::string kZeroDivide = "Floating point division by zero";
const std::string kInvalid = "Invalid floating point operation";
const std::string kOverflow = "Floating point overflow";

TEST(CheckedMath, ErrorTypesCarryTheirMessages) {
    EXPECT_THROW(FDiv(1, 0), EZeroDivide);
    EXPECT_THROW(FDiv(0, 0), EInvalidOp);
    EXPECT_THROW(FDiv(1e308, 1e-10), EOverflow);
    EXPECT_EQ(MessageOf([] { return FDiv(1, 0); }), kZeroDivide);
    EXPECT_EQ(MessageOf([] { return FDiv(0, 0); }), kInvalid);
    EXPECT_EQ(MessageOf([] { return FDiv(1e308, 1e-10); }), kOverflow);
}

TEST(CheckedMath, Division) {
    EXPECT_EQ(FDiv(7, 2), 3.5);
    EXPECT_EQ(FDiv(-1, 4), -0.25);
    EXPECT_EQ(FDiv(0, 5), 0);
    EXPECT_EQ(MessageOf([] { return FDiv(-3, 0); }), kZeroDivide);
    EXPECT_EQ(MessageOf([] { return FDiv(5, -0.0); }), kZeroDivide);
    EXPECT_EQ(MessageOf([] { return FDiv(kNan, 0); }), kInvalid);
    EXPECT_EQ(MessageOf([] { return FDiv(kNan, 2); }), kInvalid);
    EXPECT_EQ(MessageOf([] { return FDiv(kInf, kInf); }), kInvalid);
    EXPECT_EQ(MessageOf([] { return FDiv(-1e308, 0.5); }), kOverflow);
}

TEST(CheckedMath, RealPower) {
    EXPECT_EQ(FPow(2, 10), 1024);
    EXPECT_EQ(FPow(0, 0), 1);
    EXPECT_EQ(FPow(-5, 0), 1);
    EXPECT_EQ(FPow(0, 1.5), 0);
    EXPECT_EQ(FPow(-2, 3), -8);
    EXPECT_EQ(FPow(-2, -2), 0.25);
    EXPECT_DOUBLE_EQ(FPow(9, 0.5), 3);
    EXPECT_DOUBLE_EQ(FPow(30.0 / 20.0, 1.15), std::pow(1.5, 1.15));
    EXPECT_EQ(MessageOf([] { return FPow(0, -1); }), kZeroDivide);
    EXPECT_EQ(MessageOf([] { return FPow(0, -0.5); }), kZeroDivide);
    EXPECT_EQ(MessageOf([] { return FPow(-8, 1.0 / 3); }), kInvalid);
    EXPECT_EQ(MessageOf([] { return FPow(-0.5, 1.5); }), kInvalid);
    EXPECT_EQ(MessageOf([] { return FPow(kNan, 2); }), kInvalid);
    EXPECT_EQ(MessageOf([] { return FPow(10, 400); }), kOverflow);
    EXPECT_EQ(MessageOf([] { return FPow(-10, 401); }), kOverflow);
}

TEST(CheckedMath, Logarithm) {
    EXPECT_EQ(FLn(1), 0);
    EXPECT_DOUBLE_EQ(FLn(std::exp(2.0)), 2);
    EXPECT_EQ(MessageOf([] { return FLn(0); }), kZeroDivide);
    EXPECT_EQ(MessageOf([] { return FLn(-1); }), kInvalid);
    EXPECT_EQ(MessageOf([] { return FLn(kNan); }), kInvalid);
}

TEST(CheckedMath, CheckedPassesOnlyFiniteValues) {
    EXPECT_EQ(Checked(1.25), 1.25);
    EXPECT_EQ(Checked(-0.0), 0);
    EXPECT_EQ(MessageOf([] { return Checked(kNan); }), kInvalid);
    EXPECT_EQ(MessageOf([] { return Checked(kInf); }), kOverflow);
    EXPECT_EQ(MessageOf([] { return Checked(-kInf); }), kOverflow);
}

} // namespace
} // namespace halvern
