#include "core/Scrambler.h"
#include <QStringList>
#include <gtest/gtest.h>

namespace {
struct ScrambleOn {
    ScrambleOn() { gScramble = -1; }
    ~ScrambleOn() { gScramble = 0; }
};
}

TEST(Scrambler, KnownVector)
{
    ScrambleOn on;
    // 'A' (65) at 0: 65 -> 70+1, 70+4; 'B' (66) at 1: 67 -> 70+3, 70+4.
    EXPECT_EQ(EncodeText("AB"), "GJIJ");
    // A blank at position 2: 34 -> 70+2, 70+2.
    EXPECT_EQ(EncodeText("AB "), "GJIJHH");
    EXPECT_EQ(EncodeText(""), "");
    for (int16_t v : {int16_t(0), int16_t(1), int16_t(-2)}) { // only exactly True scrambles
        gScramble = v;
        EXPECT_EQ(EncodeText("AB") + DecodeText("odd"), "ABodd");
    }
}

TEST(Scrambler, RoundTripOfSettingLinesAndLatin1)
{
    ScrambleOn on;
    const QStringList lines = {"XP,W,01,00FF,", "NM,W, CO ,H2S,", QString::fromLatin1("\xb5g/m\xb3 \xff\x01~")};
    for (const QString &line : lines) {
        bool ok = false, dok = false;
        const QString enc = EncodeText(line, &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(enc.size(), line.size() * 2);
        EXPECT_EQ(QString::fromLatin1(enc.toLatin1()), enc) << "single-byte text";
        EXPECT_EQ(DecodeText(enc, &dok), line);
        EXPECT_TRUE(dok);
    }
}

TEST(Scrambler, UndecodableOrUnencodableTextIsReported)
{
    ScrambleOn on;
    // Odd length; a low part below the code range or above 15; 0 at position 0 is fine but at
    // position 1 would give -1; 256 is beyond one byte.
    const struct { QString text; bool ok; } decode[] = {
        {"GJI", false}, {"EJ", false}, {"VJ", false}, {"FF", true}, {"GJFF", false},
        {QString("F") + QChar(char16_t(70 + 16)), false},
    };
    for (const auto &c : decode) {
        bool ok = !c.ok;
        const QString out = DecodeText(c.text, &ok);
        EXPECT_EQ(ok, c.ok) << c.text.toStdString();
        EXPECT_TRUE(ok || out.isEmpty()) << c.text.toStdString();
    }
    // Nor is what cannot stay single-byte, or too long a text, encoded.
    for (const QString &text : {QString(QChar(0x263A)), QString(3000, QLatin1Char('A'))}) {
        bool ok = true;
        EXPECT_EQ(EncodeText(text, &ok), "");
        EXPECT_FALSE(ok);
    }
}
