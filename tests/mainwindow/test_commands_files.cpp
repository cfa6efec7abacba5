// Export and import of Config Data files through the file dialog.
#include "CommandsFixture.h"
#include "platform/CommonDialog.h"
#include "platform/FlexGrid.h"
#include "settingsfiles/SettingsFile.h"
#include <QLineEdit>

class FileCommands : public CommandsFixture {
protected:
    ScriptedCommonDialog dialogs;
};

TEST_F(FileCommands, ExportThenImportRestoresTheSettingsAndMarksThemForUpload)
{
    ASSERT_TRUE(Start());
    Download();
    const QString path = file(QStringLiteral("site.seq"));
    dialogs.choose(path);
    Press(form->cmdExportSetting);
    ASSERT_EQ(dialogs.calls().size(), 1);
    const CommonDialogCall &save = dialogs.calls()[0];
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.filter, QStringLiteral("All files (*.*)|*.*|Config Data (*.seq)|*.seq|"));
    EXPECT_EQ(save.filterIndex, 2);
    EXPECT_EQ(save.flags, 2050);
    const QByteArray written = ReadFile(QStringLiteral("site.seq"));
    ASSERT_FALSE(written.isEmpty());
    EXPECT_TRUE(written.contains("\r\n"));
    EXPECT_FALSE(gInstrument().Change_Warn(0)) << "an export changes nothing";

    gInstrument().setWarning(0, 42);
    gInstrument().setXS_(0, QStringLiteral("CHANGED"));
    dialogs.choose(path);
    Press(form->cmdImportSetting);
    const CommonDialogCall &open = dialogs.calls().last();
    EXPECT_FALSE(open.save);
    EXPECT_EQ(open.flags, 4096);
    EXPECT_EQ(open.filterIndex, 2);
    EXPECT_FLOAT_EQ(gInstrument().Warning(0), 10.0f);
    EXPECT_EQ(gInstrument().XS_(0), sim->state().XS_(0));
    EXPECT_EQ(gInstrument().ImportFlag(), -1);
    EXPECT_TRUE(gInstrument().Change_Warn(3)) << "every setting goes with the next upload";
    EXPECT_FALSE(gInstrument().Change_SerialNo());
    EXPECT_EQ(form->vfgOption->TextMatrix(2, 1), QStringLiteral("10"));
    EXPECT_TRUE(boxes->calls().isEmpty());
}

TEST_F(FileCommands, ImportWithoutAnInstrumentEnablesOnlyWhatTheStateAllows)
{
    options.adapters = 0;
    options.waitConnected = false;
    ASSERT_TRUE(Start());
    clsInstrument sample;
    sample.ClearDatas();
    {
        clsInstrument::DeviceDoor door(sample);
        sample.setGasName(0, QStringLiteral("CH4"));
    }
    ASSERT_TRUE(StoreConfig(sample, file(QStringLiteral("a.seq")), false));
    dialogs.choose(file(QStringLiteral("a.seq")));
    Press(form->cmdImportSetting);
    EXPECT_EQ(gInstrument().GasName(0), QStringLiteral("CH4"));
    EXPECT_FALSE(form->cmdOption[0]->isEnabled()); // not connected: no upload
    EXPECT_TRUE(form->cmdExportSetting->isEnabled());
}

TEST_F(FileCommands, BadFileChangesNothingAndNamesTheLine)
{
    ASSERT_TRUE(Start());
    Download();
    const clsInstrument before = gInstrument();
    dialogs.choose(file(QStringLiteral("site.seq")));
    Press(form->cmdExportSetting);
    QByteArray text = ReadFile(QStringLiteral("site.seq"));
    QList<QByteArray> lines = text.split('\n');
    ASSERT_GT(lines.size(), 200);
    lines[200] = "XP,W,ZZ,\r";
    writeFile(QStringLiteral("bad.seq"), lines.join('\n'));
    dialogs.choose(file(QStringLiteral("bad.seq")));
    Press(form->cmdImportSetting);
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_TRUE(boxes->calls()[0].prompt.contains(QStringLiteral("Line 201"))) << boxes->calls()[0].prompt.toStdString();
    EXPECT_EQ(gInstrument().ImportFlag(), before.ImportFlag());
    EXPECT_EQ(gInstrument().XS_(5), before.XS_(5));
    EXPECT_FALSE(gInstrument().Change_Warn(0));

    // A file of another kind holds no setting line at all.
    writeFile(QStringLiteral("notes.seq"), "just some notes\r\n");
    boxes->clear();
    dialogs.choose(file(QStringLiteral("notes.seq")));
    Press(form->cmdImportSetting);
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_EQ(gInstrument().ImportFlag(), before.ImportFlag());
}

TEST_F(FileCommands, CancelledDialogsChangeNothing)
{
    ASSERT_TRUE(Start());
    Download();
    dialogs.cancel();
    Press(form->cmdExportSetting);
    dialogs.cancel();
    Press(form->cmdImportSetting);
    EXPECT_EQ(boxes->prompts(), (QStringList{QStringLiteral("Cancel was selected."), QStringLiteral("Cancel was selected.")}));
    EXPECT_EQ(gInstrument().ImportFlag(), 0);
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.seq")}).isEmpty());
}

TEST_F(FileCommands, ExportThatCannotBeWrittenKeepsTheOldFile)
{
    ASSERT_TRUE(Start());
    Download();
    writeFile(QStringLiteral("old.seq"), "XP,W,01,\r\n");
    // A record whose text cannot form a line is refused before the file is touched.
    {
        clsInstrument::DeviceDoor door(gInstrument());
        gInstrument().setXS_(3, QStringLiteral("A,B"));
    }
    dialogs.choose(file(QStringLiteral("old.seq")));
    Press(form->cmdExportSetting);
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_EQ(ReadFile(QStringLiteral("old.seq")), QByteArray("XP,W,01,\r\n"));
    // A folder that does not exist.
    boxes->clear();
    dialogs.choose(file(QStringLiteral("missing/x.seq")));
    Press(form->cmdExportSetting);
    EXPECT_EQ(boxes->calls().size(), 1);
}
