#include "checked.h"
#include "steps.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

using namespace dorvelix;

namespace {
int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}
}  // namespace

TEST(Checked, OverflowIsErrorSixAndKeepsTheOldValue)
{
    std::int32_t total = 2147483600;
    EXPECT_EQ(errorOf([&] { addChecked(total, 100); }), err::Overflow);
    EXPECT_EQ(total, 2147483600);
    addChecked(total, 47);
    EXPECT_EQ(total, 2147483647);

    std::int16_t e = 32767;
    EXPECT_EQ(errorOf([&] { addChecked(e, 1); }), err::Overflow);
    EXPECT_EQ(e, 32767);
    EXPECT_EQ(errorOf([&] { e = narrow<std::int16_t>(32768); }), err::Overflow);
    EXPECT_EQ(e, 32767);
    std::int32_t low = -2147483647 - 1;
    EXPECT_EQ(errorOf([&] { addChecked(low, -1); }), err::Overflow);
}

TEST(Checked, DivisionByZeroIsErrorEleven)
{
    EXPECT_EQ(errorOf([] { (void)intDiv(5, 0); }), err::DivisionByZero);
    EXPECT_EQ(errorOf([] { (void)intMod(5, 0); }), err::DivisionByZero);
    EXPECT_EQ(errorOf([] { (void)divide(1.0f, 0.0f); }), err::DivisionByZero);
    EXPECT_EQ(intDiv(-7, 2), -3);  // truncates toward zero
    EXPECT_EQ(intMod(-7, 2), -1);
}

TEST(Checked, ConversionRoundsHalvesToEven)
{
    EXPECT_EQ(toInteger<std::int32_t>(2.5), 2);
    EXPECT_EQ(toInteger<std::int32_t>(3.5), 4);
    EXPECT_EQ(toInteger<std::int32_t>(-2.5), -2);
    EXPECT_EQ(toInteger<std::int16_t>(1800.5), 1800);
    EXPECT_EQ(toInteger<std::int16_t>(1801.5), 1802);
    EXPECT_EQ(toInteger<std::int32_t>(488281.25), 488281);
    EXPECT_EQ(errorOf([] { (void)toInteger<std::int16_t>(32767.5); }), err::Overflow);
    EXPECT_EQ(errorOf([] { (void)toInteger<std::int32_t>(std::nan("")); }), err::Overflow);
}

TEST(StepRunner, AFailingStepIsReportedAndTheNextOneRuns)
{
    std::vector<int> reported;
    std::vector<int> ran;
    StepRunner run([&](const RuntimeError& e) { reported.push_back(e.number()); });
    EXPECT_TRUE(run([&] { ran.push_back(1); }));
    EXPECT_FALSE(run([&] { throw RuntimeError(76); ran.push_back(2); }));
    EXPECT_FALSE(run([&] { throw std::bad_alloc(); }));
    EXPECT_TRUE(run([&] { ran.push_back(3); }));
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
    EXPECT_EQ(reported, (std::vector<int>{76, err::OutOfMemory}));

    StepRunner silent;  // resume next without a message
    EXPECT_FALSE(silent([] { throw RuntimeError(6); }));
}
