// The simulator's command-line fault rules do what its help and the README say.
#include "LinkFixture.h"
#include "sim/SimRuleText.h"

TEST(SimRuleText, KindsCountsAndRefusals)
{
    SimFaultRule r;
    ASSERT_TRUE(ParseFaultRule(QStringLiteral("delay:hc:2:-1:500"), &r));
    EXPECT_TRUE(r.fault == SimFault::Delay && r.code == "HC" && r.nth == 2 && r.times == -1 && r.delayMs == 500);
    ASSERT_TRUE(ParseFaultRule(QStringLiteral("refuse:*"), &r));
    EXPECT_TRUE(r.fault == SimFault::Refuse && r.code.isEmpty() && r.nth == 1 && r.times == 1);
    EXPECT_FALSE(ParseFaultRule(QStringLiteral("melt:XP"), &r));
    EXPECT_FALSE(ParseFaultRule(QStringLiteral("refuse:XP:0"), &r));
}

// "damageall:XP" damages every XP frame, each resend after NAK too: the read can only fail.
TEST_F(LinkTest, DamageAllFromTheCommandLineDamagesEveryFrame)
{
    SimFaultRule r;
    ASSERT_TRUE(ParseFaultRule(QStringLiteral("damageall:XP"), &r));
    EXPECT_EQ(r.times, -1);
    ASSERT_TRUE(connectLink());
    sim.addRule(r);
    clsInstrument rec;
    EXPECT_FALSE(link.GetInstrument(rec));
    EXPECT_EQ(rec.FailLine(), QStringLiteral("XP,R"));
}
