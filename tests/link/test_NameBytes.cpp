// Names on the line: the instrument keeps the bytes a write carries, a download reads them as the
// instrument holds them, and the link refuses, with its reason, an answer holding a byte that
// text frames do not carry.
#include "LinkFixture.h"
#include "settingsfiles/SettingLines.h"
#include "core/FileIO.h"
#include "settingsfiles/SettingTable.h"
#include "settingsfiles/SettingsFile.h"
#include "support/InstrumentDiff.h"
#include <set>

namespace {
using M = clsInstrument::M;

SettingLines::Entry EntryOf(const QString &code, int index)
{
    for (const SettingLines::Entry &e : SettingLines::entries())
        if (e.code == code && e.index == index)
            return e;
    return {};
}

QString WithoutPadding(QString s)
{
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    return s;
}

// A name with blanks in front for each name member a written line carries.
struct NameCase {
    M member;
    int i;
    const char *code;
    int entry;
    const char *name;
};
const NameCase kLeadingBlankNames[] = {
    {M::XS_, 4, "XS", 4, " AB"},
    {M::XZ_, 0, "XZ", 0, "  BOB"},
    {M::LO_longname, 1, "LO", 1, "  GAS"},
    {M::LO_name, 1, "LO", 1, " G"},
    {M::LB_longname, 29, "LB", 29, "   PRESET"},
    {M::LB_name, 3, "LB", 3, " P"},
    {M::PIDLongName, 16, "LS", 16, "  PID GAS"},
    {M::PIDName, 2, "LS", 2, " Pd"},
    {M::GasName, 0, "GN", -1, " CO"},
    {M::CATOther, 0, "GN", -1, " CH"},
    {M::GasName, 5, "GN", -1, "  S"},
    {M::TCOther, 0, "GN", -1, " TC"},
    {M::G1_, 1, "G1", 1, "  OTHER GAS"},
    {M::G1_, 5, "G1", 5, " THERMAL"},
    {M::BNuserLogoName, 0, "BN", -1, "   LOGO"},
};

// The name members of the lines the link writes that have no case in kLeadingBlankNames.
std::set<M> Uncovered()
{
    std::set<M> names;
    for (const SettingLines::detail::Def &d : SettingLines::detail::allDefs()) {
        if (!d.linkWrites)
            continue;
        for (const SettingLines::detail::Field &f : d.fields(0))
            if (f.enc == SettingLines::detail::Enc::Text || f.enc == SettingLines::detail::Enc::TextUpper ||
                f.enc == SettingLines::detail::Enc::TextKeep)
                names.insert(f.m);
    }
    for (const NameCase &c : kLeadingBlankNames)
        names.erase(c.member);
    return names;
}

std::string Names(const std::set<M> &members)
{
    std::string out;
    for (M m : members)
        out += std::string(" ") + clsInstrument::info(m).name;
    return out;
}
} // namespace

// Every name member a written line carries, with blanks in front: the upload succeeds and the
// instrument holds the name with its blanks, answering a read with the very bytes sent.
TEST_F(LinkTest, NamesWithLeadingBlanksReachTheInstrumentAsSent)
{
    EXPECT_TRUE(Uncovered().empty()) << "name members without a case:" << Names(Uncovered());

    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    for (const NameCase &c : kLeadingBlankNames) {
        const QString name = QString::fromLatin1(c.name);
        const SettingLines::Entry e = EntryOf(QString::fromLatin1(c.code), c.entry);
        ASSERT_FALSE(e.code.isEmpty()) << c.code;
        rec.setText(c.member, name, c.i);
        const QByteArray line = SettingLines::lineText(rec, e).text.toLatin1();
        sim.clearRequests();
        EXPECT_TRUE(link.SetInstrument(rec)) << c.code << " " << c.name << ": "
                                             << link.UploadProblems().join(QLatin1String("; ")).toStdString();
        EXPECT_TRUE(requestsOf(line.left(3)).contains(line)) << line.toStdString();
        EXPECT_EQ(WithoutPadding(sim.state().text(c.member, c.i)), name) << c.code;
        EXPECT_EQ(SettingLines::fieldsText(sim.state(), e).text.toLatin1(), line.mid(5)) << c.code;
    }
}

// Every name member held with blanks in front: a download reads it as the instrument holds it,
// and the upload after it, nothing touched, writes the very line the instrument holds.
TEST_F(LinkTest, NamesWithLeadingBlanksComeBackFromAnUntouchedUploadAsHeld)
{
    EXPECT_TRUE(Uncovered().empty()) << "name members without a case:" << Names(Uncovered());

    clsInstrument held = sim.state();
    {
        clsInstrument::DeviceDoor door(held);
        for (const NameCase &c : kLeadingBlankNames)
            held.setText(c.member, QString::fromLatin1(c.name), c.i);
    }
    QList<QByteArray> lines, heads; // "XS,W,05,   AB ...," and its "XS,W,05,"
    for (const NameCase &c : kLeadingBlankNames) {
        const SettingLines::Entry e = EntryOf(QString::fromLatin1(c.code), c.entry);
        ASSERT_FALSE(e.code.isEmpty()) << c.code;
        const QByteArray line = SettingLines::lineText(held, e).text.toLatin1();
        const QString key = SettingLines::requestKey(e);
        if (lines.contains(line))
            continue;
        lines << line;
        heads << (e.code + QStringLiteral(",W,") + (key.isEmpty() ? key : key + QLatin1Char(','))).toLatin1();
    }
    QString why;
    ASSERT_TRUE(sim.holdWrites(lines, &why)) << why.toStdString();
    const clsInstrument before = sim.state();

    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    for (const NameCase &c : kLeadingBlankNames)
        EXPECT_EQ(WithoutPadding(rec.text(c.member, c.i)), QString::fromLatin1(c.name)) << c.code;

    sim.clearRequests();
    rec.SetChangeFlags(true); // an upload from the main window sends every setting
    ASSERT_TRUE(link.SetInstrument(rec)) << link.UploadProblems().join(QLatin1String("; ")).toStdString();
    for (qsizetype k = 0; k < lines.size(); ++k)
        EXPECT_EQ(requestsOf(heads[k]), QList<QByteArray>{lines[k]});
    EXPECT_EQ(DifferentMembers(before, sim.state()), "");
}

// An instrument may hold a byte above "~" (from its own keys, or another program). Its answer
// arrives whole with a right checksum: the read fails at once, naming the byte, and is not taken
// for a damaged frame that a NAK would bring again.
TEST_F(LinkTest, AnswerHoldingAByteTheLineDoesNotCarryFailsTheReadWithItsReason)
{
    {
        clsInstrument::DeviceDoor door(sim.state());
        sim.state().setXS_(4, QString::fromLatin1("A\xC9" "B"));
    }
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    EXPECT_FALSE(link.GetInstrument(rec));
    EXPECT_EQ(rec.FailLine(), QStringLiteral("XS,R"));
    EXPECT_EQ(link.Status(), uclQlif::StatusFailed);
    EXPECT_EQ(requestsOf("XS,R,05,").size(), 1); // asked once: the same bytes would come again
    EXPECT_TRUE(requestsOf("XS,R,06,").isEmpty());
    const QString log = logText();
    EXPECT_TRUE(log.contains(QStringLiteral("<<< XS,R: the answer holds a character the link does not take (0xC9) >>>")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("<<< Read failed: Station 5 (XS 05): the answer holds a character the link does not take (0xC9) >>>")));
    EXPECT_FALSE(log.contains(QStringLiteral("Check SUM error")));
    EXPECT_FALSE(log.contains(QStringLiteral("> : [NAK]")));

    // Nothing of it lingers on the line: once the name is mended the next read is whole.
    {
        clsInstrument::DeviceDoor door(sim.state());
        sim.state().setXS_(4, QStringLiteral("AEB"));
    }
    ASSERT_TRUE(link.GetInstrument(rec));
    EXPECT_EQ(rec.XS_(4), QStringLiteral("AEB"));
}

// Such an answer to an earlier request, arriving late while another exchange waits, is only
// logged: the exchange goes on and takes its own answer. Here a station read's answers come
// while the next upload's write waits, and that write may take an answer it cannot place (it
// can read it back).
TEST_F(LinkTest, LateAnswerHoldingAByteTheLineDoesNotCarryLeavesTheWaitingExchangeAlone)
{
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    {
        clsInstrument::DeviceDoor door(sim.state());
        sim.state().setXS_(4, QString::fromLatin1("A\xC9" "B"));
    }
    sim.addRule(Hold("XS", 5)); // station 5's read and its resends are answered late
    clsInstrument read;
    EXPECT_FALSE(link.GetInstrument(read));
    EXPECT_EQ(read.FailLine(), QStringLiteral("XS,R"));
    ASSERT_GT(sim.heldCount(), 0);
    EXPECT_FALSE(logText().contains(QStringLiteral("(0xC9)")));
    sim.clearRules();
    releaseAt("XV,W,"); // the late answers come after the write, before its own answer
    const qsizetype writes = requestsOf("XV,W,").size();
    EXPECT_TRUE(link.SetInstrument(rec)) << link.UploadProblems().join(QLatin1String("; ")).toStdString();
    EXPECT_EQ(requestsOf("XV,W,").size(), writes + 1) << "taken at its first answer";
    EXPECT_EQ(sim.heldCount(), 0);
    EXPECT_TRUE(logText().contains(QStringLiteral("<<< XS,R: the answer holds a character the link does not take (0xC9) >>>")));
}

// What the program cannot carry it never sends, and says so; the rest of the upload goes on.
// The simulator cannot be given such a name by a settings file either.
TEST_F(LinkTest, NameHoldingAByteTheLineDoesNotCarryIsNeitherSentNorLoaded)
{
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    rec.setXS_(4, QString::fromLatin1("A\xC9" "B"));
    rec.setIntervals(30);
    sim.clearRequests();
    EXPECT_FALSE(link.SetInstrument(rec));
    ASSERT_EQ(link.UploadProblems().size(), 1);
    EXPECT_TRUE(link.UploadProblems().first().startsWith(QStringLiteral("Station 5 (XS 05) not sent:")));
    EXPECT_TRUE(link.UploadProblems().first().contains(QStringLiteral("(0xC9)"))) << link.UploadProblems().first().toStdString();
    EXPECT_TRUE(requestsOf("XS,W,").isEmpty());
    EXPECT_EQ(sim.state().Intervals(), 30);
    EXPECT_TRUE(rec.Change_XS_(4));

    const QString file = dir.filePath(QStringLiteral("state.seq"));
    rec.setXS_(4, QStringLiteral("AEB"));
    ASSERT_TRUE(StoreConfig(rec, file, false, Distribution::everything()).ok);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    f.close();
    const qsizetype at = bytes.indexOf("XS,W,05,AEB");
    ASSERT_GE(at, 0);
    bytes[at + 9] = '\xC9';
    ASSERT_TRUE(WriteFileWhole(file, bytes));
    QString why;
    const QString before = sim.state().XS_(4);
    EXPECT_FALSE(sim.loadSettings(file, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("Line 37")) && why.contains(QStringLiteral("0xC9"))) << why.toStdString();
    EXPECT_EQ(sim.state().XS_(4), before);
}
