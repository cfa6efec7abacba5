#include "core/CharChecks.h"
#include "core/modMain.h"
#include <gtest/gtest.h>

namespace {
// The key as CheckKeyAscii leaves it: 0 when refused.
int key(int code, bool lower, bool quote)
{
    int16_t k = int16_t(code);
    return CheckKeyAscii(k, lower, quote) ? k : 0;
}
}

TEST(CheckKeyAscii, WhatPassesAndWhatBecomesACapital)
{
    for (int c : {int(' '), int('-'), int('0'), int('9'), int('A'), int('Z'), 8})
        EXPECT_TRUE(key(c, false, false) == c && key(c, true, false) == c) << c;
    for (int c : {0, 7, 9, 13, 27, 31, 127, 128, 181, 255})
        EXPECT_EQ(key(c, true, true) + key(c, false, false), 0) << c;
    EXPECT_EQ(key('a', false, false), 'A');
    EXPECT_EQ(key('z', false, true), 'Z');
    EXPECT_EQ(key('q', true, false), 'q');
    int wide = 'm';
    EXPECT_TRUE(CheckKeyAscii(wide, false, false));
    EXPECT_EQ(wide, 'M');
    int huge = 70000;
    EXPECT_FALSE(CheckKeyAscii(huge, true, true)) << "no wrap into 16 bits";
}

TEST(CheckKeyAscii, SymbolsNeedAllowLowerAndQuoteNeedsBoth)
{
    for (int c : {'!', '/', ':', '@', '[', '`', '~', '.'}) {
        EXPECT_EQ(key(c, false, true), 0) << char(c);
        EXPECT_EQ(key(c, true, false), c) << char(c);
    }
    EXPECT_EQ(key('\'', true, false), 0);
    EXPECT_EQ(key('\'', false, true), 0);
    EXPECT_EQ(key('\'', true, true), '\'');
    for (int c : {'{', '}', ',', ';', '|'})
        EXPECT_EQ(key(c, true, true), 0) << char(c);
}

TEST(CheckTextChars, WholeTextsAndLeadingBlanks)
{
    gAllowLeadBlank = false;
    EXPECT_TRUE(CheckTextChars("", false, false));
    EXPECT_TRUE(CheckTextChars("CO-2 H2S", false, false));
    EXPECT_FALSE(CheckTextChars("co", false, false)); // nothing is turned into capitals here
    EXPECT_TRUE(CheckTextChars("co", true, false));
    EXPECT_FALSE(CheckTextChars("O'Neil", true, false));
    EXPECT_TRUE(CheckTextChars("O'Neil", true, true));
    for (const char *t : {"A{B", "A,B", "A;B", "A|B"})
        EXPECT_FALSE(CheckTextChars(t, true, true)) << t;
    EXPECT_FALSE(CheckTextChars(QString::fromLatin1("Caf\xe9"), true, true));
    EXPECT_FALSE(CheckTextChars(QString("AB") + QChar(8), true, true)) << "a backspace inside a stored text";
    EXPECT_FALSE(CheckTextChars(" CO", false, false));
    EXPECT_TRUE(CheckTextChars(" CO", true, false)); // judged like a symbol
    EXPECT_TRUE(CheckTextChars("C O ", false, false));
    gAllowLeadBlank = true;
    EXPECT_TRUE(CheckTextChars(" CO", false, false));
    gAllowLeadBlank = false;
}
