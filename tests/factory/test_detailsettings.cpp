// The main window's "Detail Settings" command end to end against the simulated instrument:
// the dialog opens on the record just read, edits and OK, the upload from the main window,
// and the instrument then holds the edits and nothing else.
#include "../mainwindow/MainFixture.h"
#include "FsFixture.h"
#include "factory/FsRulesGasNames.h"
#include "factory/frmFsDialog.h"
#include "platform/Tabs.h"
#include "support/InstrumentDiff.h"
#include <QTimer>

namespace {

class DetailSettings : public MainFixture {};

} // namespace

TEST_F(DetailSettings, EditsMadeInTheDialogReachTheInstrumentAndNothingElse)
{
    frmFsDialog::Register();
    ASSERT_TRUE(StartAndRead());
    const int station = gInstrument().XV_(0) - 1; // the selected one: its row in the list
    ASSERT_TRUE(station >= 0 && station < 128);
    clsInstrument expected = sim->state();
    ASSERT_NE(expected.ZeroForce(0), 2);
    const QString newName = QStringLiteral("NORTH GATE");

    bool opened = false;
    QStringList edited;
    QTimer::singleShot(0, form, [&] {
        frmFsDialog *d = frmFsDialog::Find();
        if (!d || !d->isVisible())
            return;
        // Opened on the record just read.
        opened = d->Instrument() == &gInstrument() &&
                 d->vfgStation->TextMatrix(station, 1).trimmed() == gInstrument().XS_(station).trimmed() &&
                 d->vfgOtherSet->TextMatrix(1, 3).toInt() == gInstrument().ZeroForce(0);
        d->SSTab1->setTab(0);
        if (FsFixture::Edit(d->vfgStation, station, 1, newName))
            edited << QStringLiteral("station");
        d->SSTab1->setTab(2);
        if (FsFixture::Edit(d->vfgOtherSet, 1, 3, QStringLiteral("2")))
            edited << QStringLiteral("zero suppress");
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    Press(form->cmdFactorySetting);
    ASSERT_TRUE(opened);
    ASSERT_EQ(edited, (QStringList{QStringLiteral("station"), QStringLiteral("zero suppress")}));
    EXPECT_TRUE(boxes->prompts().isEmpty()) << boxes->prompts().join(QLatin1Char('|')).toStdString();
    // The main window shows the record as OK left it.
    EXPECT_EQ(form->cmbStation->currentText().trimmed(), newName);
    EXPECT_EQ(form->txtOption[1]->text().trimmed(), newName);

    Confirm(form->cmdOption[0]);
    EXPECT_EQ(boxes->prompts(), (QStringList{GetMsg(5309), GetMsg(5311)}));
    {
        clsInstrument::DeviceDoor door(expected);
        expected.setXS_(station, newName);
        expected.setZeroForce(0, 2);
    }
    EXPECT_EQ(DifferentMembers(expected, sim->state()), "");
}

// The catalytic list follows the firmware of the instrument just read, each time the dialog
// opens: not the list set at start-up, nor the one of the instrument read before.
TEST_F(DetailSettings, CatalyticListFollowsTheFirmwareReadEachTime)
{
    frmFsDialog::Register();
    ASSERT_TRUE(Start());
    const QStringList shortList{"CH4", "H2", "PRO", "IBU", "HEX"};
    const QStringList longList = shortList + QStringList{"PEN"};
    // 70000 does not fit 16 bits: it keeps its side of the line.
    const std::pair<int, QStringList> cases[] = {
        {4770, longList}, {4769, shortList}, {70000, longList}, {123, shortList}};
    for (const auto &[rom, names] : cases) {
        {
            clsInstrument::DeviceDoor door(sim->state());
            sim->state().setRomNumber(rom);
        }
        Download();
        ASSERT_EQ(gInstrument().RomNumber(), rom);
        QStringList offered;
        QString other;
        QTimer::singleShot(0, form, [&] {
            frmFsDialog *d = frmFsDialog::Find();
            if (!d || !d->isVisible())
                return;
            d->SSTab1->setTab(3);
            if (FsFixture::OpenCell(d->vfgGasName, FsGasNames::kCatRow, FsGasNames::ColName))
                if (auto *combo = qobject_cast<QComboBox *>(d->vfgGasName->Editor()))
                    for (int i = 0; i < combo->count(); ++i)
                        offered << combo->itemText(i);
            d->vfgGasName->CancelEdit();
            other = d->vfgGasNameOther->TextMatrix(FsGasNames::kCatRow, FsGasNames::ColName);
            QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
        });
        Press(form->cmdFactorySetting);
        EXPECT_EQ(offered, names + QStringList{other}) << "ROM " << rom;
    }
}
