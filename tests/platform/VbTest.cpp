#include "Vb.h"
#include "VbError.h"

#include <gtest/gtest.h>

namespace {

long errorNumber(auto&& f)
{
    try {
        f();
    } catch (const VbError& e) {
        return e.number();
    }
    return 0;
}

TEST(Vb, ValReadsTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(Vb::Val("  42abc"), 42);
    EXPECT_DOUBLE_EQ(Vb::Val("-3.5 kg"), -3.5);
    EXPECT_DOUBLE_EQ(Vb::Val("1 2 3"), 123);
    EXPECT_DOUBLE_EQ(Vb::Val("1.5e2x"), 150);
    EXPECT_DOUBLE_EQ(Vb::Val("&H1F"), 31);
    EXPECT_DOUBLE_EQ(Vb::Val("abc"), 0);
    EXPECT_DOUBLE_EQ(Vb::Val(""), 0);
    EXPECT_DOUBLE_EQ(Vb::Val("."), 0);
}

TEST(Vb, IntegerConversionRoundsHalvesToEvenAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(Vb::CInt(2.5), 2);
    EXPECT_EQ(Vb::CInt(3.5), 4);
    EXPECT_EQ(Vb::CInt(-2.5), -2);
    EXPECT_EQ(Vb::CInt(2.6), 3);
    EXPECT_EQ(Vb::CInt(QString(" 7.5 ")), 8);
    EXPECT_EQ(Vb::CInt(32767.4), 32767);
    EXPECT_EQ(errorNumber([] { Vb::CInt(32767.5); }), VbErrors::Overflow);
    EXPECT_EQ(errorNumber([] { Vb::CInt(-40000.0); }), VbErrors::Overflow);
    EXPECT_EQ(errorNumber([] { Vb::CInt(QString("StartOfWorkingHour")); }), VbErrors::TypeMismatch);
    EXPECT_EQ(errorNumber([] { Vb::CInt(QString("")); }), VbErrors::TypeMismatch);
    EXPECT_EQ(errorNumber([] { Vb::CInt(QString("99999999999999999999")); }), VbErrors::Overflow);
    EXPECT_EQ(Vb::CLng(QString("100000")), 100000);
}

TEST(Vb, OnlyWrittenNumbersAreNumeric)
{
    for (const char* number : {"8", " 8 ", "-2.5", "1e3", "&H1F", "&h10"})
        EXPECT_TRUE(Vb::IsNumeric(number)) << number;
    for (const char* text : {"", " ", "inf", "-infinity", "nan", "&H", "&HG", "8 o'clock"})
        EXPECT_FALSE(Vb::IsNumeric(text)) << text;
    EXPECT_EQ(errorNumber([] { Vb::CInt(QString("inf")); }), VbErrors::TypeMismatch) << "not a silent 0";
    EXPECT_EQ(Vb::CInt(QString("&H1F")), 31);
}

}
