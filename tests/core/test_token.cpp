#include "core/clsToken.h"
#include <gtest/gtest.h>

namespace {
clsToken commaTokenizer()
{
    clsToken t;
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

TEST(clsToken, FieldsEmptyFieldsCommentsAndSlots)
{
    clsToken none;
    EXPECT_EQ(split(none, "a,b c"), QStringList{"a,b c"}) << "a new tokenizer has no delimiters";

    // A trailing empty field does not count, blanks are kept; a comment ends the scan and
    // sits, uncounted, in the next slot.
    const struct { const char *source; QStringList fields; const char *comment; } cases[] = {
        {",a,,b,", {"", "a", "", "b"}, nullptr}, {"", {}, nullptr}, {" CO ,,", {" CO ", ""}, nullptr},
        {"a,b;rest, with commas", {"a", "b"}, "rest, with commas"}, {"; whole line", {}, " whole line"},
        {"a,;c", {"a"}, "c"},
    };
    clsToken t = commaTokenizer();
    for (const auto &c : cases) {
        EXPECT_EQ(split(t, c.source), c.fields) << c.source;
        if (c.comment) {
            EXPECT_EQ(t.Tokens(int(c.fields.size())), c.comment) << c.source;
        }
    }
    clsToken two; // the list files take commas and tabs alike
    two.AddDelimiters(",");
    two.AddDelimiters("\t");
    EXPECT_EQ(split(two, "1,A\tB"), (QStringList{"1", "A", "B"}));
    // Slots above the count keep earlier text; slots outside are harmless.
    EXPECT_EQ(split(two, "x"), QStringList{"x"});
    EXPECT_EQ(two.Tokens(2), "B");
    two.SetTokens(clsToken::MaxTokens, "x");
    EXPECT_EQ(two.Tokens(-1) + two.Tokens(clsToken::MaxTokens), "");
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
