#include "core/CharChecks.h"
#include "core/modMain.h"
#include <gtest/gtest.h>

namespace {
bool key(int code, bool lower, bool quote, int *changed = nullptr)
{
    int16_t k = int16_t(code);
    const bool ok = CheckKeyAscii(k, lower, quote);
    if (changed)
        *changed = k;
    return ok;
}
}

TEST(CheckKeyAscii, AlwaysPassingCharacters)
{
    for (int c : {int(' '), int('-'), int('0'), int('9'), int('A'), int('Z'), 8}) {
        for (bool lower : {false, true}) {
            int k = 0;
            EXPECT_TRUE(key(c, lower, false, &k)) << c;
            EXPECT_EQ(k, c);
        }
    }
}

TEST(CheckKeyAscii, ControlAndHighCodesFailExceptBackspace)
{
    for (int c : {0, 7, 9, 13, 27, 31, 127, 128, 181, 255}) {
        EXPECT_FALSE(key(c, true, true)) << c;
        EXPECT_FALSE(key(c, false, false)) << c;
    }
}

TEST(CheckKeyAscii, SmallLettersBecomeCapitalsWithoutAllowLower)
{
    int k = 0;
    EXPECT_TRUE(key('a', false, false, &k));
    EXPECT_EQ(k, 'A');
    EXPECT_TRUE(key('z', false, true, &k));
    EXPECT_EQ(k, 'Z');
    EXPECT_TRUE(key('q', true, false, &k));
    EXPECT_EQ(k, 'q');

    int wide = 'm';
    EXPECT_TRUE(CheckKeyAscii(wide, false, false));
    EXPECT_EQ(wide, 'M');
    int huge = 70000;
    EXPECT_FALSE(CheckKeyAscii(huge, true, true));
}

TEST(CheckKeyAscii, SymbolsNeedAllowLowerAndQuoteNeedsBoth)
{
    for (int c : {'!', '/', ':', '@', '[', '`', '|', '~', '.', ','}) {
        EXPECT_FALSE(key(c, false, true)) << char(c);
        EXPECT_TRUE(key(c, true, false)) << char(c);
    }
    EXPECT_FALSE(key('\'', true, false));
    EXPECT_TRUE(key('\'', true, true));
    EXPECT_FALSE(key('\'', false, true));
    for (int c : {'{', '}'}) {
        EXPECT_FALSE(key(c, true, true));
        EXPECT_FALSE(key(c, false, false));
    }
}

TEST(CheckTextChars, WholeTexts)
{
    gAllowLeadBlank = false;
    EXPECT_TRUE(CheckTextChars("", false, false));
    EXPECT_TRUE(CheckTextChars("CO-2 H2S", false, false));
    EXPECT_FALSE(CheckTextChars("co", false, false)); // nothing is turned into capitals here
    EXPECT_TRUE(CheckTextChars("co", true, false));
    EXPECT_FALSE(CheckTextChars("A.B", false, false));
    EXPECT_TRUE(CheckTextChars("A.B", true, false));
    EXPECT_FALSE(CheckTextChars("O'Neil", true, false));
    EXPECT_TRUE(CheckTextChars("O'Neil", true, true));
    EXPECT_FALSE(CheckTextChars("A{B", true, true));
    EXPECT_FALSE(CheckTextChars(QString::fromLatin1("Caf\xe9"), true, true));
    // A backspace code has no place inside a stored text.
    EXPECT_FALSE(CheckTextChars(QString("AB") + QChar(8), true, true));
}

TEST(CheckTextChars, LeadingBlank)
{
    gAllowLeadBlank = false;
    EXPECT_FALSE(CheckTextChars(" CO", false, false));
    EXPECT_TRUE(CheckTextChars(" CO", true, false)); // judged like a symbol
    EXPECT_TRUE(CheckTextChars("C O ", false, false));
    gAllowLeadBlank = true;
    EXPECT_TRUE(CheckTextChars(" CO", false, false));
    EXPECT_TRUE(CheckTextChars("  ", false, false));
    gAllowLeadBlank = false;
}
