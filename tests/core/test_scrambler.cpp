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
}

TEST(Scrambler, RoundTripOfSettingLinesAndLatin1)
{
    ScrambleOn on;
    const QStringList lines = {"XP,W,01,00FF,", "NM,W, CO ,H2S,", QString::fromLatin1("\xb5g/m\xb3 \xff\x01~")};
    for (const QString &line : lines) {
        bool ok = false;
        const QString enc = EncodeText(line, &ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(enc.size(), line.size() * 2);
        for (QChar ch : enc)
            EXPECT_LE(ch.unicode(), 255);
        bool dok = false;
        EXPECT_EQ(DecodeText(enc, &dok), line);
        EXPECT_TRUE(dok);
    }
}

TEST(Scrambler, OnlyExactlyTrueScrambles)
{
    for (int16_t v : {int16_t(0), int16_t(1), int16_t(-2)}) {
        gScramble = v;
        EXPECT_EQ(EncodeText("AB"), "AB");
        EXPECT_EQ(DecodeText("odd"), "odd");
    }
    gScramble = 0;
}

TEST(Scrambler, UndecodableOrUnencodableTextIsReported)
{
    ScrambleOn on;
    bool ok = true;
    EXPECT_EQ(DecodeText("GJI", &ok), ""); // odd length
    EXPECT_FALSE(ok);
    ok = true;
    DecodeText("EJ", &ok); // low part below the code range
    EXPECT_FALSE(ok);
    ok = true;
    DecodeText("VJ", &ok); // low part above 15
    EXPECT_FALSE(ok);
    ok = true;
    DecodeText("FF", &ok); // 0 at position 0 is fine ...
    EXPECT_TRUE(ok);
    DecodeText("GJFF", &ok); // ... but position 1 would give -1
    EXPECT_FALSE(ok);
    ok = true;
    DecodeText(QString("F") + QChar(char16_t(70 + 16)), &ok); // 256: beyond one byte
    EXPECT_FALSE(ok);
    // Nor is what cannot stay single-byte, or too long a text, encoded.
    ok = true;
    EXPECT_EQ(EncodeText(QString(QChar(0x263A)), &ok), "");
    EXPECT_FALSE(ok);
    ok = true;
    EncodeText(QString(3000, QLatin1Char('A')), &ok);
    EXPECT_FALSE(ok);
}
