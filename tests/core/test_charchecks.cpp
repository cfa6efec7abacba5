#include "core/CharChecks.h"
#include "core/modMain.h"
#include <gtest/gtest.h>

namespace {
// The key as CheckKeyAscii leaves it: 0 when refused.
int key(int code, bool lower, bool quote) { return CheckKeyAscii(code, lower, quote) ? code : 0; }
}

TEST(CheckKeyAscii, WhatPassesWhatBecomesACapitalAndWhatNeedsTheFlags)
{
    for (bool lower : {false, true}) {
        for (bool quote : {false, true}) {
            SCOPED_TRACE(std::string("lower ") + (lower ? "on" : "off") + ", quote " + (quote ? "on" : "off"));
            for (int c : {int(' '), int('-'), int('0'), int('9'), int('A'), int('Z'), 8})
                EXPECT_EQ(key(c, lower, quote), c) << c;
            // Controls, DEL and beyond, braces and the separators of the files; no wrap into 16 bits.
            for (int c : {0, 7, 9, 13, 27, 31, 127, 128, 181, 255, int('{'), int('}'), int(','), int(';'), 70000})
                EXPECT_EQ(key(c, lower, quote), 0) << c;
            for (int c : {int('a'), int('q'), int('z')})
                EXPECT_EQ(key(c, lower, quote), lower ? c : c - 32) << char(c);
            for (int c : {'!', '/', ':', '@', '[', '`', '|', '~', '.'})
                EXPECT_EQ(key(c, lower, quote), lower ? c : 0) << char(c);
            EXPECT_EQ(key('\'', lower, quote), lower && quote ? '\'' : 0);
        }
    }
}

TEST(CheckTextChars, WholeTextsAndLeadingBlanks)
{
    // Nothing is turned into capitals here; a leading blank is judged like a symbol.
    const struct { const char *text; bool lower, quote, ok; } cases[] = {
        {"", false, false, true},       {"CO-2 H2S", false, false, true}, {"co", false, false, false},
        {"co", true, false, true},      {"O'Neil", true, false, false},   {"O'Neil", true, true, true},
        {"A{B", true, true, false},     {"A,B", true, true, false},       {"A;B", true, true, false},
        {"A|B", true, true, true},      {"A|B", false, true, false},     {"Caf\xe9", true, true, false},   {"AB\b", true, true, false},
        {" CO", false, false, false},   {" CO", true, false, true},       {"C O ", false, false, true},
    };
    gAllowLeadBlank = false;
    for (const auto &c : cases)
        EXPECT_EQ(CheckTextChars(QString::fromLatin1(c.text), c.lower, c.quote), c.ok) << c.text;
    gAllowLeadBlank = true;
    EXPECT_TRUE(CheckTextChars(" CO", false, false));
    gAllowLeadBlank = false;
}
