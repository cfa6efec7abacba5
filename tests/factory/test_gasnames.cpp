// The gas-name grids' rules without a window: entry checks, the companion cells of a
// chosen name and the apply step of OK.
#include "core/modMain.h"
#include "factory/FsRulesGasNames.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"

#include <gtest/gtest.h>

using namespace FsGasNames;

namespace {

class GasNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetCoreGlobals();
        gCatName = "CH4|C3H8";
        gCatLongName = "METHANE|PROPANE";
        gCatRatio = "50000|21000";
        gTcName = "H2|CH4";
        gTcLongName = "HYDROGEN|METHANE TC";
        gTcFullScale = "100.0|100.0";
        gTcDigit = "1|0.5";
        clsInstrument::DeviceDoor door(inst);
        inst.setGasName(0, "CH4");
        inst.setGasName(7, "CH4");
        inst.setGasName(8, "CH4");
        inst.setFL_(0, 50000);
        inst.setGasType(4, kThermal);
        inst.setGasName(4, "H2");
        inst.setGasFullScale(4, 100);
        inst.setGasPoint(4, 1);
        inst.setGasType(5, kPid);
        inst.setGasType(6, kEmptySlot);
        inst.setFL_(2, 600);
        inst.setFL_(3, 115);
        inst.setFL_(1, 30000);
        inst.setCATOther("XX");
        inst.setWarning(0, 10);
        inst.setAlarm(0, 20);
    }
    void TearDown() override { ResetCoreGlobals(); }
    clsInstrument inst;
};

} // namespace

TEST_F(GasNames, EntryChecks)
{
    EXPECT_FALSE(ValidateName(1, ColName, kCatalytic, "ABCD").accept);
    EXPECT_TRUE(ValidateName(1, ColName, kCatalytic, "").accept);
    EXPECT_FALSE(ValidateName(1, ColName, kCatalytic, "").paint) << "an empty name keeps its colour";
    EXPECT_EQ(ValidateName(5, ColName, kThermal, "H2XY").text, "H2X") << "cut to three";
    EXPECT_FALSE(ValidateName(1, ColScale, kCatalytic, "").accept) << "an empty ratio cannot be applied";
    EXPECT_FALSE(ValidateName(1, ColScale, kCatalytic, "123456").accept);
    EXPECT_TRUE(ValidateName(1, ColLongName, kCatalytic, "Methane (low)").accept);

    struct { int row, col; const char *in; bool ok; const char *out; } cases[] = {
        {kCatRow, ColScale, "9999", false, ""},      {kCatRow, ColScale, "150001", false, ""},
        {kCatRow, ColScale, "12345", true, "12000"}, {kCatRow, ColScale, "50000", true, "50000"},
        {kCatRow, ColScale, "10000", true, "10000"}, {kCatRow, ColScale, "145000", true, "140000"},
        {kCatRow, ColScale, "", false, ""},          {kTcRow, ColScale, "105", false, ""},
        {kTcRow, ColScale, "9", false, ""},          {kTcRow, ColScale, "55", true, "60.0"},
        {kTcRow, ColScale, "45", true, "40.0"},      {kTcRow, ColScale, "100", true, "100.0"},
        {kCatRow, ColFactor, "1.5", true, "1.50"},   {kCatRow, ColFactor, "25.01", false, ""},
        {kCatRow, ColName, "abc", false, ""},        {kCatRow, ColName, "ABC", true, "ABC"},
    };
    for (const auto &c : cases) {
        const CellEdit e = ValidateOther(c.row, c.col, c.in);
        EXPECT_EQ(e.accept, c.ok) << c.in;
        EXPECT_TRUE(e.paint);
        if (c.ok) {
            EXPECT_EQ(e.text, c.out) << c.in;
        }
    }
    EXPECT_EQ(FilterOtherKey(ColName, 'a', 0), 'A');
    EXPECT_EQ(FilterOtherKey(ColName, 'B', 3), 0);
    EXPECT_EQ(FilterOtherKey(ColLongName, 'b', 19), 'b');
    EXPECT_EQ(FilterOtherKey(ColLongName, 'b', 20), 0);
}

TEST_F(GasNames, ChoicesAndCompanions)
{
    Fill f = FillTexts(inst);
    EXPECT_EQ(f.names[5][ColScale], "100.0");
    EXPECT_TRUE(f.namesGrey[3][ColScale]);
    EXPECT_EQ(f.other[kTcRow][ColScale], "60.0");
    EXPECT_EQ(f.other[kCatRow][ColFactor], "1.15");

    EXPECT_EQ(BeforeName(1, ColName, kCatalytic, false, false, f.other, {}).value_or("-"), "|CH4|C3H8|XX");
    EXPECT_EQ(BeforeName(6, ColName, kPid, false, false, f.other, {"IBL", "TOL"}).value_or("-"), "|IBL|TOL");
    EXPECT_FALSE(BeforeName(7, ColName, kEmptySlot, false, false, f.other, {}));
    EXPECT_FALSE(BeforeName(7, ColLongName, kEmptySlot, false, false, f.other, {}));
    EXPECT_FALSE(BeforeName(5, ColLongName, kThermal, false, false, f.other, {}));
    EXPECT_FALSE(BeforeName(1, ColName, kCatalytic, false, true, f.other, {})) << "invalidGN";
    EXPECT_EQ(BeforeOther(kCatRow, ColEV, false, inst).value_or("-"), "ME|Normal");

    // The last catalytic entry is the other gas.
    Companions c = CompanionsFor(kCatalytic, 2, f.other, {});
    EXPECT_EQ(c.catOtherSelect.value_or(-1), 1);
    EXPECT_EQ(c.scale.value_or(""), "30000") << "from the other gas's row";
    c = CompanionsFor(kCatalytic, 1, f.other, {});
    EXPECT_EQ(c.catOtherSelect.value_or(-1), 0);
    EXPECT_EQ(c.longName.value_or(""), "PROPANE");
    EXPECT_EQ(c.scale.value_or(""), "21000");
    // Typed outside the list: the companions stay as they are.
    for (int t : {kCatalytic, kPid, kThermal}) {
        c = CompanionsFor(t, -1, f.other, {"ISOBUTYLENE"});
        EXPECT_FALSE(c.longName || c.scale || c.desit) << t;
    }
    c = CompanionsFor(kThermal, 1, f.other, {});
    EXPECT_EQ(c.desit.value_or(0), 0.5f);
    EXPECT_EQ(c.longName.value_or(""), "METHANE TC");
    EXPECT_EQ(CompanionsFor(kPid, 1, f.other, {"A", "B"}).longName.value_or(""), "B");
}

TEST_F(GasNames, UntouchedGridsApplyNothing)
{
    Fill f = FillTexts(inst);
    f.names[2][ColName] = "O2 "; // the fixed channels' names are shown, not applied
    ApplyGasNames(inst, f.names, f.other);
    EXPECT_FALSE(inst.AnyChangeFlag()) << "\"60.0\" and \"1.15\" are the members as shown";
    EXPECT_EQ(inst.GasName(1), "");
}

TEST_F(GasNames, ThermalAndCatalyticDerivations)
{
    Fill f = FillTexts(inst);
    f.names[5][ColScale] = "10";
    ApplyGasNames(inst, f.names, f.other);
    EXPECT_EQ(inst.Warning(4), 1.0f);
    EXPECT_EQ(inst.Alarm(4), 5.0f);
    EXPECT_EQ(inst.Stel(4), ReadingCode::NoValue);
    EXPECT_EQ(inst.AutoCalib(4), 4.0f);

    f.names[5][ColName] = " CH4 ";
    f.names[5][ColScale] = "100";
    f.names[1][ColName] = "HEX";
    f.names[1][ColScale] = "5000";
    ApplyGasNames(inst, f.names, f.other);
    EXPECT_EQ(inst.AutoCalib(4), 50.0f);
    EXPECT_EQ(inst.AutoCalib(0), 15.0f);
    EXPECT_EQ(inst.GasName(8), "HEX");
    EXPECT_EQ(inst.CATppm1st(), 500);
    EXPECT_FLOAT_EQ(inst.CATvol1st(), 0.05f);
    EXPECT_EQ(inst.FL_(0), 5000);

    f.other[kTcRow][ColScale] = "12.3";
    f.other[kCatRow][ColEV] = "ME";
    ApplyGasNames(inst, f.names, f.other);
    EXPECT_EQ(inst.FL_(2), 123);
    EXPECT_EQ(inst.CATOtherEV(), 1);
}
