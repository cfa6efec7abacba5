#include "core/Messages.h"
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

TEST(Messages, TextsKeepTheirBlanksBreaksAndPlaceholders)
{
    EXPECT_EQ(GetMsg(5213), "VANTIK  Date/Time");
    EXPECT_EQ(GetMsg(8038), "CHANGE PASSWORD ");
    EXPECT_EQ(GetMsg(5374), "VANTIK DEFAULT \r\nReady?\t");
    EXPECT_EQ(GetMsg(5047), "Information Get && Save");
    EXPECT_EQ(GetMsg(123456, "x"), "");
    EXPECT_EQ(GetMsg(5412, 3), "Connect Sequence VANTIK...(3)");
    EXPECT_EQ(GetMsg(5519, "2024/01/02", "00:01:05"),
              "---Instrument Download Finished---. Date = 2024/01/02[Time = 00:01:05]\r\n");
    // Missing arguments become empty text.
    EXPECT_EQ(GetMsg(5519), "---Instrument Download Finished---. Date = [Time = ]\r\n");
    EXPECT_EQ(GetMsg(5383, true), "DEFAULT failed (True)");
    EXPECT_EQ(GetMsg(5383, 0.5f), "DEFAULT failed (0.5)");
}

TEST(Messages, ExpansionRules)
{
    const QStringList nine = {"a", "b", "c", "d", "e", "f", "g", "h", "i"};
    EXPECT_EQ(ExpandMessage("~1~2~3~4~5~6~7~8~9", nine), "abcdefghi");
    EXPECT_EQ(ExpandMessage("x~cy~Cz", {}), "x\r\ny\r\nz");
    EXPECT_EQ(ExpandMessage("x~ty~Tz", {}), "x\ty\tz");
    // Any other pair is dropped, a lone trailing "~" kept.
    EXPECT_EQ(ExpandMessage("a~0b~xc~~d", nine), "abcd");
    EXPECT_EQ(ExpandMessage("end~", {}), "end~");
    // Arguments are inserted as they are, never expanded again.
    EXPECT_EQ(ExpandMessage("(~1)", {"~2~c"}), "(~2~c)");
    EXPECT_EQ(ExpandMessage("~1", {"x", "y"}), "x");
}

// One text per number: a number given twice would hide one of the texts.
TEST(Messages, TableFileIsWellFormed)
{
    QFile f(":/messages.txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QSet<int> ids;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        if (i == lines.size() - 1) {
            EXPECT_TRUE(line.isEmpty()) << "last line not ended";
            continue;
        }
        ASSERT_TRUE(line.endsWith('\r')) << "line " << i + 1 << " not ended by CR LF";
        const int tab = int(line.indexOf('\t'));
        ASSERT_GT(tab, 0) << "line " << i + 1;
        bool ok = false;
        const int id = line.left(tab).toInt(&ok);
        ASSERT_TRUE(ok) << "line " << i + 1;
        EXPECT_FALSE(ids.contains(id)) << "message " << id << " given twice";
        ids.insert(id);
        for (char c : line.mid(tab + 1, line.size() - tab - 2))
            EXPECT_TRUE(uchar(c) >= 32) << "control character in message " << id;
    }
    EXPECT_EQ(ids.size(), MessageCount());
}
