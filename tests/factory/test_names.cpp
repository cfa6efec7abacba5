// Station and user names in the dialog: the grids, their list files and OK.
#include "FsFixture.h"
#include "ScratchDir.h"
#include "factory/FsRulesNames.h"
#include "factory/ListFiles.h"
#include "settingsfiles/SettingsFile.h"
#include <QCheckBox>
#include <QFile>

namespace {

class NamesDialog : public FsFixture, protected ScratchDir
{
protected:
    void SetUp() override
    {
        FsFixture::SetUp();
        ASSERT_TRUE(Open());
    }
};

} // namespace

TEST_F(NamesDialog, GridsShowTheNamesAndCheckTypedOnes)
{
    FlexGrid *s = dlg->vfgStation;
    EXPECT_EQ(s->TextMatrix(0, 0), "1");                   // numbered as the instrument counts them
    EXPECT_EQ(s->TextMatrix(127, 0), "128");
    EXPECT_EQ(s->TextMatrix(127, 1), "Station 128");
    EXPECT_EQ(dlg->vfgUser->TextMatrix(31, 1), "User 32");

    EXPECT_TRUE(Edit(s, 0, 1, QString(17, 'a')));
    EXPECT_EQ(s->TextMatrix(0, 1), QString(16, 'a'));     // the 17th key was dropped
    EXPECT_EQ(BeepCount(), 1);
    EXPECT_TRUE(Edit(s, 1, 1, "north {gate}|A,B;C"));
    EXPECT_EQ(s->TextMatrix(1, 1), "north gate|ABC");      // braces and file separators dropped, lower case kept

    ASSERT_TRUE(OpenCell(dlg->vfgUser, 2, 1));              // pasted past the key filter
    EditorLine(dlg->vfgUser)->setText(QString(17, 'b'));
    QTest::keyClick(EditorLine(dlg->vfgUser), Qt::Key_Return);
    EXPECT_EQ(Back(dlg->vfgUser, 2, 1), 255);
    EXPECT_FALSE(dlg->CheckUserGrid());
    dlg->cmdUserExport->click();                            // nothing is asked or written
    EXPECT_TRUE(files->calls().isEmpty());
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, QStringLiteral("User List, No. 3"))});
    EXPECT_TRUE(Edit(dlg->vfgUser, 2, 1, ""));            // the whole text counts: delete first
    EXPECT_TRUE(Edit(dlg->vfgUser, 2, 1, QString(16, 'b')));
    EXPECT_EQ(Back(dlg->vfgUser, 2, 1), 16777215);

    // Names from the instrument that nobody touched go back as they came, whatever they hold.
    dlg->cmdCancel_Click();
    ASSERT_TRUE(Closed());
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setXS_(7, "Gate {7}");
        rec().setXZ_(1, "a|b");
    }
    ASSERT_TRUE(Open());
    EXPECT_NE(Back(dlg->vfgStation, 7, 1), 255);
    EXPECT_NE(Back(dlg->vfgUser, 1, 1), 255);
    boxes->clear();
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();
    EXPECT_TRUE(Raised(rec()).isEmpty());
}

TEST_F(NamesDialog, ImportFillsRowsInFileOrderAndFlagsThem)
{
    files->choose(file("a.csv", "12,Name\r\n1,A,B\r\n3\tC\tD,\r\n4,\r\n5," + QByteArray(17, 'x') + "\r\n"));
    dlg->cmdStationImport->click();
    FlexGrid *s = dlg->vfgStation;
    EXPECT_EQ(s->TextMatrix(0, 1), "Name");
    EXPECT_EQ(s->TextMatrix(1, 1), "A,B");
    EXPECT_EQ(s->TextMatrix(2, 1), "C,D");
    EXPECT_EQ(s->TextMatrix(3, 1), "");
    EXPECT_EQ(Back(s, 4, 1), 255);                    // imported, but red
    EXPECT_EQ(Back(s, 5, 1), 16777215);               // every row is recoloured
    EXPECT_EQ(s->TextMatrix(5, 1), "Station 6");
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(edit().Change_XS_(i)) << i;
    EXPECT_FALSE(edit().Change_XS_(5));
    ASSERT_EQ(files->calls().size(), 1);
    EXPECT_EQ(files->calls()[0].filterIndex, 2);                 // the list files' own filter
    EXPECT_EQ(files->calls()[0].flags, fdlg::FileMustExist);

    QByteArray many;
    for (int i = 1; i <= 200; ++i)
        many += QByteArray::number(i) + ",U" + QByteArray::number(i) + "\r\n";
    files->choose(file("many.csv", many));
    dlg->cmdUserImport->click();
    EXPECT_EQ(dlg->vfgUser->TextMatrix(31, 1), "U32");
    EXPECT_TRUE(boxes->calls().isEmpty());
}

TEST_F(NamesDialog, ImproperFileChangesNothing)
{
    // Names only would empty every name; a bad line late in the file stops the whole import.
    const QByteArray bad[] = {"North\r\nSouth\r\n", "Smith, John\r\n", "123\r\n", "1,A\r\n2,Na",
                              "1,A\r\n2,B\r\nC\r\n", "1,A\r\n2,B\r\n\r\n4,D\r\n", "",
                              "1" + QByteArray(300, ',') + "\r\n"};
    for (const QByteArray &bytes : bad) {
        boxes->clear();
        files->choose(file("bad.csv", bytes));
        dlg->cmdStationImport->click();
        EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8075)}) << bytes.constData();
        EXPECT_EQ(boxes->calls()[0].icon(), vb::Critical);
        EXPECT_EQ(dlg->vfgStation->TextMatrix(0, 1), "Station 1");
        EXPECT_FALSE(edit().AnyChangeFlag());
    }
    EXPECT_FALSE(NameListFile::Read(file("missing.csv"), 128).ok);
    EXPECT_FALSE(NameListFile::Read(dir.path(), 128).ok);
    boxes->clear();
    files->cancel();
    dlg->cmdUserImport->click();
    EXPECT_EQ(boxes->prompts(), QStringList{"Cancel was selected."});
}

TEST_F(NamesDialog, ExportThenImportGivesTheSameNames)
{
    ASSERT_TRUE(Edit(dlg->vfgStation, 0, 1, " lead 'q'~"));
    files->choose(file("Station.csv"));
    dlg->cmdStationExport->click();
    EXPECT_EQ(boxes->prompts(), QStringList{"Export Complete"});
    ASSERT_EQ(files->calls().size(), 1);
    EXPECT_TRUE(files->calls()[0].save);
    EXPECT_EQ(files->calls()[0].fileName, "Station.csv");
    EXPECT_EQ(files->calls()[0].flags, fdlg::OverwritePrompt | fdlg::PathMustExist);
    for (int r : {0, 127})
        dlg->vfgStation->setTextMatrix(r, 1, QString());
    files->choose(file("Station.csv"));
    dlg->cmdStationImport->click();
    EXPECT_EQ(dlg->vfgStation->TextMatrix(0, 1), " lead 'q'~");
    EXPECT_EQ(dlg->vfgStation->TextMatrix(127, 1), "Station 128");
    EXPECT_TRUE(edit().Change_XS_(127));

    // A write that fails keeps the old file whole and says why.
    dlg->vfgStation->setTextMatrix(127, 1, "Changed");
    EXPECT_TRUE(ExportFails(dlg->cmdStationExport, file("Station.csv"), 100));
    files->choose(file("Station.csv"));
    dlg->cmdStationImport->click();
    EXPECT_EQ(dlg->vfgStation->TextMatrix(127, 1), "Station 128");

    // A name holding the separator would not come back: refused, the entry named.
    boxes->clear();
    dlg->vfgStation->setTextMatrix(3, 1, "Gate,");
    files->choose(file("Again.csv"));
    dlg->cmdStationExport->click();
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, QStringLiteral("Station List, No. 4"))});
    EXPECT_FALSE(QFile::exists(file("Again.csv")));
}

TEST_F(NamesDialog, OkWritesOnlyTheEditedNames)
{
    ASSERT_TRUE(Edit(dlg->vfgStation, 127, 1, "Station 128 "));
    ASSERT_TRUE(Edit(dlg->vfgUser, 31, 1, "user 32"));
    QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().XS_(127), "Station 128 ");
    EXPECT_EQ(rec().XZ_(31), "user 32");
    EXPECT_EQ(Raised(rec()), QStringList({"Change_XS_(127,0)", "Change_XZ_(31,0)"}));
}

// A name from the instrument that nobody touched goes back as it came and never blocks OK,
// whatever it holds; a list file or a maintenance-data file that could not bring it back
// is refused, naming the entry. What is typed, imported or loaded is judged by the rule,
// in which "|" is an ordinary character.
TEST_F(NamesDialog, UntouchedNamesNeverBlockAndGoOutOnlyWhereTheyComeBack)
{
    dlg->cmdCancel_Click();
    ASSERT_TRUE(Closed());
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setXS_(4, "A|B");
        rec().setXS_(5, "Gate {6}");
        rec().setXZ_(0, "x}");
    }
    ASSERT_TRUE(Open());
    FlexGrid *s = dlg->vfgStation;
    EXPECT_TRUE(dlg->CheckStationGrid());
    EXPECT_TRUE(dlg->CheckUserGrid());
    ASSERT_TRUE(Edit(s, 6, 1, "x|y"));                    // typed: the key filter lets "|" through
    EXPECT_EQ(s->TextMatrix(6, 1), "x|y");
    EXPECT_EQ(Back(s, 6, 1), 16777215);
    files->choose(file("two.csv", "1,One\r\n2,Two{\r\n"));
    dlg->cmdStationImport->click();                        // imported rows judged, the others as they came
    EXPECT_EQ(Back(s, 1, 1), 255);
    EXPECT_NE(Back(s, 5, 1), 255);
    ASSERT_TRUE(Edit(s, 1, 1, "Two"));

    // Out to a file: the brace would be refused where it is read back.
    boxes->clear();
    const qsizetype asked = files->calls().size();
    dlg->cmdStationExport->click();
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, QStringLiteral("Station List, No. 6"))});
    boxes->clear();
    dlg->chkStation->setChecked(true);
    dlg->cmdStore_Click();
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, QStringLiteral("Station List, No. 6"))});
    dlg->chkStation->setChecked(false);
    dlg->chkUser->setChecked(true);
    boxes->clear();
    dlg->cmdStore_Click();
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, QStringLiteral("User List, No. 1"))});
    EXPECT_EQ(files->calls().size(), asked) << "nothing asked, nothing written";

    // Mended, the list goes out and comes back with its "|".
    ASSERT_TRUE(Edit(s, 5, 1, "Gate 6"));
    boxes->clear();
    files->choose(file("Station.csv"));
    dlg->cmdStationExport->click();
    ASSERT_EQ(boxes->prompts(), QStringList{"Export Complete"});
    s->setTextMatrix(4, 1, QString());
    files->choose(file("Station.csv"));
    dlg->cmdStationImport->click();
    EXPECT_EQ(s->TextMatrix(4, 1), "A|B");
    EXPECT_EQ(s->TextMatrix(6, 1), "x|y");
    EXPECT_EQ(Back(s, 4, 1), 16777215);

    boxes->clear();
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();
    EXPECT_EQ(rec().XS_(6), "x|y");
    EXPECT_EQ(rec().XZ_(0), "x}") << "untouched, as it came";
    EXPECT_FALSE(rec().Change_XZ_(0));
}

// What the download could not read goes nowhere from the dialog unless typed or loaded: a
// list's export or a store of the lists holding it is refused, naming the cell, then why and
// what to do, only the download where the grid locks the cell. Each list judges by its own
// marks. OK leaves it unread.
TEST_F(NamesDialog, UnreadValuesGoNowhereUnlessTyped)
{
    using M = clsInstrument::M;
    const QString typeIt = QStringLiteral("The instrument refused to read it: download again, or type it first.");
    const QString downloadIt = QStringLiteral("The instrument refused to read it: download again.");
    auto improper = [](const char *where, const QString &why) {
        return GetMsg(8056, QString::fromLatin1(where)) + QStringLiteral("\r\n") + why;
    };
    // The box of the dialog open when the case runs.
    auto store = [this](QCheckBox *(*box)(frmFsDialog *)) {
        return [this, box] {
            box(dlg)->setChecked(true);
            dlg->cmdStore_Click();
        };
    };
    const clsInstrument given = rec();
    const struct {
        M member;
        int i, j;
        std::function<void()> command;
        QString said;
    } cases[] = {
        {M::XS_, 2, 0, [this] { dlg->cmdStationExport->click(); }, improper("Station List, No. 3", typeIt)},
        {M::XS_, 2, 0, store([](frmFsDialog *d) { return d->chkStation; }), improper("Station List, No. 3", typeIt)},
        {M::XZ_, 4, 0, [this] { dlg->cmdUserExport->click(); }, improper("User List, No. 5", typeIt)},
        {M::XZ_, 4, 0, store([](frmFsDialog *d) { return d->chkUser; }), improper("User List, No. 5", typeIt)},
        {M::XZ_, 4, 0, [this] { dlg->cmdStationExport->click(); }, QStringLiteral("Export Complete")},
        {M::XS_, 4, 0, [this] { dlg->cmdUserExport->click(); }, QStringLiteral("Export Complete")},
        {M::PIDName, 2, 0, [this] { dlg->cmdPIDExport[0]->click(); }, improper("PID Sensor Settings: row 3, Name", downloadIt)},
        {M::PIDName, 2, 0, store([](frmFsDialog *d) { return d->chkPID[1]; }), improper("PID Sensor (High Range) Settings: row 3, Name", downloadIt)},
        {M::PIDLongName, 16, 0, [this] { dlg->cmdPIDExport[1]->click(); },
         improper("PID Sensor Settings: row 17, Long Name", typeIt)},
        {M::PIDUnit, 5, 1, [this] { dlg->cmdPIDExport[1]->click(); }, improper("PID Sensor Settings: row 6, Unit", downloadIt)},
        {M::PIDUnit, 5, 1, [this] { dlg->cmdPIDExport[0]->click(); }, QStringLiteral("Export Complete")},
        {M::PIDUnit, 5, 1, store([](frmFsDialog *d) { return d->chkPID[0]; }),
         improper("PID Sensor (Low Range) Settings: row 6, Unit", downloadIt)},
        {M::LA_warn, 31, 0, [this] { dlg->cmdConvExport->click(); },
         improper("User Defined Conversion Table: row 2, 1st", typeIt)},
        {M::LB_fc, 0, 0, [this] { dlg->cmdConvExport->click(); },
         improper("Pre-Defined Conversion Table: row 1, Factor", downloadIt)},
        {M::LN_, 0, 0, [this] { dlg->cmdConvExport->click(); }, QStringLiteral("Export Complete")},
        {M::LN_, 0, 0, store([](frmFsDialog *d) { return d->chkConvertion; }), improper("Pre-Defined Conversion Table: Available Count", typeIt)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << clsInstrument::info(c.member).name << '(' << c.i << ", " << c.j << ')');
        dlg->cmdCancel_Click();
        ASSERT_TRUE(Closed());
        rec() = given;
        rec().setUnread(c.member, c.i, c.j);
        ASSERT_TRUE(Open());
        boxes->clear();
        const qsizetype asked = files->calls().size();
        const bool written = c.said == QLatin1String("Export Complete");
        if (written)
            files->choose(file("list.csv"));
        c.command();
        EXPECT_EQ(boxes->prompts(), QStringList{c.said});
        EXPECT_EQ(files->calls().size(), asked + (written ? 1 : 0)) << "a refusal asks for no file";
    }

    // Typed, a name goes out and comes back; one nobody typed stays unread.
    dlg->cmdCancel_Click();
    ASSERT_TRUE(Closed());
    rec() = given;
    for (M m : {M::XS_, M::XZ_})
        rec().setUnread(m, 2);
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Edit(dlg->vfgStation, 2, 1, "Typed"));
    boxes->clear();
    files->choose(file("Station.csv"));
    dlg->cmdStationExport->click();
    EXPECT_EQ(boxes->prompts(), QStringList{"Export Complete"});
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed());
    EXPECT_TRUE(rec().XS_(2) == "Typed" && !rec().isUnread(M::XS_, 2) && rec().isUnread(M::XZ_, 2));

    // A file gives a name as well, also the one shown; a file without the list leaves its marks.
    rec() = given;
    for (M m : {M::XS_, M::XZ_})
        rec().setUnread(m, 2);
    ASSERT_TRUE(Open());
    Distribution stations;
    stations.station = true;
    ASSERT_TRUE(StoreConfig(given, file("stations.vkx"), true, stations));
    files->choose(file("stations.vkx"));
    dlg->cmdLoad_Click();
    QStringList users;
    for (int i = 0; i < FsNames::kUsers; ++i)
        users << given.XZ_(i);
    ASSERT_TRUE(NameListFile::Write(file("User.csv"), users));
    boxes->clear();
    files->choose(file("Station.csv"));
    dlg->cmdStationExport->click();
    dlg->cmdUserExport->click(); // refused: asks for no file
    files->choose(file("User.csv"));
    dlg->cmdUserImport->click();
    files->choose(file("User.csv"));
    dlg->cmdUserExport->click();
    EXPECT_EQ(boxes->prompts(), (QStringList{"Export Complete", improper("User List, No. 3", typeIt), "Export Complete"}));
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed());
    EXPECT_TRUE(rec().XS_(2) == given.XS_(2) && !rec().isUnread(M::XS_, 2) && !rec().isUnread(M::XZ_, 2));
    EXPECT_TRUE(rec().Change_XS_(2) && rec().Change_XZ_(2));
}

// A maintenance-data file brings names in: one the rule refuses is marked and OK waits.
TEST_F(NamesDialog, LoadedNameIsJudged)
{
    clsInstrument other = rec();
    {
        clsInstrument::DeviceDoor door(other);
        other.setXS_(9, "Load {9}");
        other.setXS_(10, "P|Q");
    }
    Distribution stations;
    stations.station = true;
    ASSERT_TRUE(StoreConfig(other, file("names.vkx"), true, stations));
    files->choose(file("names.vkx"));
    dlg->cmdLoad_Click();
    EXPECT_EQ(dlg->vfgStation->TextMatrix(9, 1), "Load {9}");
    EXPECT_EQ(Back(dlg->vfgStation, 9, 1), 255);
    EXPECT_NE(Back(dlg->vfgStation, 10, 1), 255);
    boxes->clear();
    dlg->cmdOK_Click();
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, QStringLiteral("Station List"))});
}
