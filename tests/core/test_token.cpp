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
// The counted tokens of source, or {"refused"} when SetSource refuses it.
QStringList split(clsToken &t, const QString &source)
{
    if (!t.SetSource(source))
        return {"refused"};
    QStringList out;
    for (int i = 0; i < t.TokenCount(); ++i)
        out << t.Tokens(i);
    return out;
}
}

TEST(clsToken, FieldsEmptyFieldsAndComments)
{
    clsToken none;
    EXPECT_EQ(none.Tokens(0), "");
    EXPECT_EQ(split(none, "a,b c"), QStringList{"a,b c"}) << "a new tokenizer has no delimiters";

    clsToken t = commaTokenizer();
    EXPECT_EQ(split(t, ",a,,b,"), (QStringList{"", "a", "", "b"})) << "a trailing empty field does not count";
    EXPECT_EQ(split(t, ""), QStringList{});
    EXPECT_EQ(split(t, " CO ,,"), (QStringList{" CO ", ""})) << "blanks are kept";
    // A comment ends the scan and sits, uncounted, in the next slot.
    EXPECT_EQ(split(t, "a,b;rest, with commas"), (QStringList{"a", "b"}));
    EXPECT_EQ(t.Tokens(2), "rest, with commas");
    EXPECT_EQ(split(t, "; whole line"), QStringList{});
    EXPECT_EQ(t.Tokens(0), " whole line");
    EXPECT_EQ(split(t, "a,;c"), QStringList{"a"});
    EXPECT_EQ(t.Tokens(1), "c");
}

TEST(clsToken, QuotesAndDelimiterLists)
{
    clsToken plain = commaTokenizer();
    EXPECT_EQ(split(plain, "\"a,b\""), (QStringList{"\"a", "b\""})) << "without quote characters";
    clsToken t = commaTokenizer();
    t.AddStrings("\"");
    EXPECT_EQ(split(t, "\"a,b;c\",d"), (QStringList{"a,b;c", "d"}));

    clsToken two;
    two.AddDelimiters(",");
    two.AddDelimiters("\t");
    EXPECT_EQ(split(two, "1,A\tB"), (QStringList{"1", "A", "B"}));
    clsToken full;
    for (int i = 0; i < 10; ++i)
        full.AddDelimiters(QString(QChar('a' + i)));
    full.AddDelimiters("|"); // eleventh: ignored
    full.AddDelimiters("");  // empty: ignored, would otherwise match everywhere
    EXPECT_EQ(split(full, "x|yjz"), (QStringList{"x|y", "z"}));
}

TEST(clsToken, SlotsAboveCountKeepEarlierTextAndOutsideSlotsAreHarmless)
{
    clsToken t = commaTokenizer();
    ASSERT_TRUE(t.SetSource("a,b,c,d"));
    EXPECT_EQ(split(t, "x"), QStringList{"x"});
    EXPECT_EQ(t.Tokens(3), "d");
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
    EXPECT_EQ(split(t, fields.join(',') + ","), fields);
    EXPECT_FALSE(t.Overflowed());
    EXPECT_EQ(split(t, fields.join(',') + ",extra"), QStringList{"refused"});
    EXPECT_TRUE(t.Overflowed());
    EXPECT_EQ(t.TokenCount(), clsToken::MaxTokens);
    // A comment with no slot left for it is refused as well.
    EXPECT_EQ(split(t, fields.join(',') + ",;note"), QStringList{"refused"});
    // The next good line clears the refusal.
    EXPECT_EQ(split(t, "a"), QStringList{"a"});
    EXPECT_FALSE(t.Overflowed());
}
