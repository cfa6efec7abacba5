// The dialog frame: opening on a working copy, the distribution boxes, OK and Cancel.
#include "FsFixture.h"
#include "factory/CopyInstrument.h"
#include "platform/Tabs.h"
#include <QCheckBox>
#include <QPushButton>

TEST_F(FsFixture, OpensOnAFreshWorkingCopyWithEveryTab)
{
    rec().setChange_AlarmMode(true);
    ASSERT_TRUE(Open());
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("VANTIK Factory Setting"));
    EXPECT_EQ(dlg->SSTab1->Tabs(), 6);
    EXPECT_EQ(dlg->SSTab1->TabCaption(0), QStringLiteral("Station && User"));
    EXPECT_EQ(dlg->SSTab4->TabCaption(1), QStringLiteral("FACTORY SETTINGS"));
    EXPECT_TRUE(dlg->FirstActivate());
    ASSERT_NE(dlg->EditInstrument(), nullptr);
    EXPECT_NE(dlg->EditInstrument(), &rec());
    EXPECT_EQ(edit().BNuserLogoName(), QStringLiteral("ACME GAS"));
    EXPECT_FALSE(edit().AnyChangeFlag());
}

TEST_F(FsFixture, DistributionBoxesFollowAllAndThePidPair)
{
    ASSERT_TRUE(Open());
    dlg->chkAll->setChecked(true);
    for (QCheckBox *c : {dlg->chkUser, dlg->chkStation, dlg->chkConvertion, dlg->chkPID[0], dlg->chkPID[1]})
        EXPECT_TRUE(c->isChecked()) << c->objectName().toStdString();
    dlg->chkPID[1]->setChecked(false);
    EXPECT_FALSE(dlg->chkPID[0]->isChecked());
    dlg->chkStation->setChecked(false);
    EXPECT_TRUE(dlg->chkAll->isChecked());
}
