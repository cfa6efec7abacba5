#include "core/clsToken.h"
#include <gtest/gtest.h>

namespace {
clsToken commaTokenizer()
{
    clsToken t;
    t.ClearComments();
    t.ClearDelimiters();
    t.ClearStrings();
    t.AddComments(";");
    t.AddDelimiters(",");
    return t;
}
}

TEST(clsToken, NewInstanceHasNoTokensAndNoDelimiters)
{
    clsToken t;
    EXPECT_EQ(t.TokenCount(), 0);
    EXPECT_EQ(t.Tokens(0), "");
    ASSERT_TRUE(t.SetSource("a,b c"));
    EXPECT_EQ(t.TokenCount(), 1);
    EXPECT_EQ(t.Tokens(0), "a,b c");
}

TEST(clsToken, EmptyFieldsCountButTrailingEmptyDoesNot)
{
    clsToken t = commaTokenizer();
    ASSERT_TRUE(t.SetSource(",a,,b,"));
    ASSERT_EQ(t.TokenCount(), 4);
    EXPECT_EQ(t.Tokens(0), "");
    EXPECT_EQ(t.Tokens(1), "a");
    EXPECT_EQ(t.Tokens(2), "");
    EXPECT_EQ(t.Tokens(3), "b");

    ASSERT_TRUE(t.SetSource("XP,W,01,"));
    EXPECT_EQ(t.TokenCount(), 3);
    ASSERT_TRUE(t.SetSource(""));
    EXPECT_EQ(t.TokenCount(), 0);
    ASSERT_TRUE(t.SetSource(" CO ,,"));
    EXPECT_EQ(t.Tokens(0), " CO "); // blanks are kept
    EXPECT_EQ(t.TokenCount(), 2);
}

TEST(clsToken, CommentEndsScanAndSitsUncountedInNextSlot)
{
    clsToken t = commaTokenizer();
    ASSERT_TRUE(t.SetSource("a,b;rest, with commas"));
    ASSERT_EQ(t.TokenCount(), 2);
    EXPECT_EQ(t.Tokens(0), "a");
    EXPECT_EQ(t.Tokens(1), "b");
    EXPECT_EQ(t.Tokens(2), "rest, with commas");

    ASSERT_TRUE(t.SetSource("; whole line"));
    EXPECT_EQ(t.TokenCount(), 0);
    EXPECT_EQ(t.Tokens(0), " whole line");

    ASSERT_TRUE(t.SetSource("a,;c"));
    EXPECT_EQ(t.TokenCount(), 1);
    EXPECT_EQ(t.Tokens(1), "c");
}

TEST(clsToken, QuotesProtectDelimitersAndComments)
{
    clsToken t = commaTokenizer();
    t.AddStrings("\"");
    ASSERT_TRUE(t.SetSource("\"a,b;c\",d"));
    ASSERT_EQ(t.TokenCount(), 2);
    EXPECT_EQ(t.Tokens(0), "a,b;c");
    EXPECT_EQ(t.Tokens(1), "d");

    // Without quote characters, quotes are ordinary text.
    clsToken plain = commaTokenizer();
    ASSERT_TRUE(plain.SetSource("\"a,b\""));
    EXPECT_EQ(plain.TokenCount(), 2);
    EXPECT_EQ(plain.Tokens(0), "\"a");
}

TEST(clsToken, SeveralDelimitersAndListLimit)
{
    clsToken t;
    t.AddDelimiters(",");
    t.AddDelimiters("\t");
    ASSERT_TRUE(t.SetSource("1,A\tB"));
    ASSERT_EQ(t.TokenCount(), 3);
    EXPECT_EQ(t.Tokens(2), "B");

    clsToken full;
    for (int i = 0; i < 10; ++i)
        full.AddDelimiters(QString(QChar('a' + i)));
    full.AddDelimiters("|"); // eleventh: ignored
    full.AddDelimiters("");  // empty: ignored, would otherwise match everywhere
    ASSERT_TRUE(full.SetSource("x|yjz"));
    ASSERT_EQ(full.TokenCount(), 2);
    EXPECT_EQ(full.Tokens(0), "x|y");
}

TEST(clsToken, SlotsAboveCountKeepEarlierText)
{
    clsToken t = commaTokenizer();
    ASSERT_TRUE(t.SetSource("a,b,c,d"));
    ASSERT_TRUE(t.SetSource("x"));
    EXPECT_EQ(t.TokenCount(), 1);
    EXPECT_EQ(t.Tokens(0), "x");
    EXPECT_EQ(t.Tokens(3), "d");
    t.SetTokens(3, "");
    EXPECT_EQ(t.Tokens(3), "");
}

TEST(clsToken, IndexOutsideSlotsIsEmptyAndHarmless)
{
    clsToken t = commaTokenizer();
    t.SetTokens(-1, "x");
    t.SetTokens(clsToken::MaxTokens, "x");
    EXPECT_EQ(t.Tokens(-1), "");
    EXPECT_EQ(t.Tokens(clsToken::MaxTokens), "");
    EXPECT_EQ(t.Tokens(100000), "");
}

TEST(clsToken, AllowsExactlyMaxFieldsAndRefusesMore)
{
    clsToken t = commaTokenizer();
    QStringList fields;
    for (int i = 0; i < clsToken::MaxTokens; ++i)
        fields << QString::number(i);
    ASSERT_TRUE(t.SetSource(fields.join(',') + ","));
    EXPECT_FALSE(t.Overflowed());
    EXPECT_EQ(t.TokenCount(), clsToken::MaxTokens);
    // The last field a line may hold is readable like any other.
    EXPECT_EQ(t.Tokens(clsToken::MaxTokens - 1), QString::number(clsToken::MaxTokens - 1));

    fields << "extra";
    EXPECT_FALSE(t.SetSource(fields.join(',')));
    EXPECT_TRUE(t.Overflowed());
    EXPECT_EQ(t.TokenCount(), clsToken::MaxTokens);

    // A comment with no slot left for it is refused as well.
    fields.removeLast();
    EXPECT_FALSE(t.SetSource(fields.join(',') + ",;note"));
    EXPECT_TRUE(t.Overflowed());

    // The next good line clears the refusal.
    EXPECT_TRUE(t.SetSource("a"));
    EXPECT_FALSE(t.Overflowed());
}
