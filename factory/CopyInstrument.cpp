#include "factory/CopyInstrument.h"
#include "model/clsInstrument.h"

namespace {
constexpr int kChannelsFull = 9;     // channels 0..8
constexpr int kChannelsChanged = 7;  // 0..6
constexpr int kStations = 128;
constexpr int kUsers = 32;
constexpr int kPreConv = 30;
constexpr int kUserConv = 5;
constexpr int kConvAlarms = 35;
constexpr int kPidEntries = 17;
} // namespace

// One member under its own flag: written in the full copy, or when src flags it.
#define FS_COPY(Member, Flag)                                                                      \
    if (!onlyChanged || src.Flag())                                                                \
        dst.set##Member(src.Member());
#define FS_COPY_AT(Member, Flag, i)                                                                \
    if (!onlyChanged || src.Flag(i))                                                               \
        dst.set##Member(i, src.Member(i));

void CopyInstrument(clsInstrument &dst, const clsInstrument &src, bool onlyChanged)
{
    if (!onlyChanged) {
        dst.setRomNumber(src.RomNumber());
    }
    FS_COPY(UserID, Change_UserID)
    FS_COPY(StationID, Change_StationID)
    FS_COPY(SerialNo, Change_SerialNo)
    if (!onlyChanged) {
        dst.setSysDate(src.SysDate());
        dst.setSysDateOffset(src.SysDateOffset());
    }
    FS_COPY(DummySerial, Change_DummySerial)

    FS_COPY(HcMode, Change_HCMode)
    FS_COPY(CurrHc, Change_CurrHc)
    FS_COPY(AlarmMode, Change_AlarmMode)
    FS_COPY(DispID, Change_DispID)
    FS_COPY(DispCalLimit, Change_DispCalLimit)
    FS_COPY(CalLimit, Change_CalLimit)
    FS_COPY(CalCheck, Change_CalCheck)
    FS_COPY(LunchBreak, Change_LunchBreak)
    FS_COPY(AlarmSilence, Change_AlarmSilence)
    FS_COPY(Confermation, Change_Confermation)
    FS_COPY(LogOverWrite, Change_LogOverWrite)
    FS_COPY(LcdBackLight, Change_LcdBackLight)
    FS_COPY(LcdContrast, Change_LcdContrast)
    FS_COPY(LogaClear, Change_logaClear)
    FS_COPY(LBMode, Change_LBmode)
    FS_COPY(BarHoleTime, Change_BarHoleTime)
    FS_COPY(LeakBeep, Change_LeakBeep)
    FS_COPY(AutoZero, Change_AutoZero)
    FS_COPY(ConvFc, Change_ConvFc)
    FS_COPY(LogoDisp, Change_LogoDisp)
    FS_COPY(MEDisp, Change_MEDisp)
    FS_COPY(AliveDisp, Change_AliveDisp)
    FS_COPY(RemainTimeDisp, Change_RemainTimeDisp)
    FS_COPY(UsePasswd, Change_UsePasswd)
    FS_COPY(Password, Change_Password)
    FS_COPY(IRRange, Change_IRRange)
    FS_COPY(Intervals, Change_Interval)
    FS_COPY(AlarmO2, Change_AlarmO2)
    FS_COPY(Battery, Change_Battery)
    FS_COPY(DemandZero, Change_DemandZero)
    FS_COPY(DispSpanFc, Change_DispSpanFc)
    FS_COPY(InertOnOff, Change_InertOnOff)
    FS_COPY(AFapDisp, Change_AFapDisp)
    FS_COPY(UIgasDisp, Change_UIgasDisp)
    FS_COPY(UWdateDisp, Change_UWdateDisp)
    FS_COPY(BNuserLogoName, Change_BNuserLogoName)
    FS_COPY(SpecType, Change_SpecType)

    const int channels = onlyChanged ? kChannelsChanged : kChannelsFull;
    for (int ch = 0; ch < channels; ++ch) {
        FS_COPY_AT(GasName, Change_GasName, ch)
        FS_COPY_AT(GasDesit, Change_GasDesit, ch)
        FS_COPY_AT(GasPoint, Change_GasPoint, ch)
        FS_COPY_AT(GasUnit, Change_GasUnit, ch)
        FS_COPY_AT(GasFullScale, Change_GasFullScale, ch)
        FS_COPY_AT(GasEnabled, Change_GasEnable, ch)
        if (!onlyChanged)
            dst.setGasType(ch, src.GasType(ch));
        FS_COPY_AT(Warning, Change_Warn, ch)
        FS_COPY_AT(Alarm, Change_Alarm, ch)
        FS_COPY_AT(Stel, Change_Stel, ch)
        FS_COPY_AT(Twa, Change_Twa, ch)
        FS_COPY_AT(AutoCalib, Change_AutoCal, ch)
        FS_COPY_AT(Zero, Change_Zero, ch)
        if (!onlyChanged) {
            dst.setAutoRange(ch, src.AutoRange(ch));
            dst.setChangeDenst(ch, src.changeDenst(ch));
        }
        FS_COPY_AT(PIDSmallRange, Change_PIDSmallRange, ch)
    }

    FS_COPY(CATppm1st, Change_CATppm1)
    FS_COPY(CATppm2nd, Change_CATppm2)
    FS_COPY(CATvol1st, Change_CATvol1)
    FS_COPY(CATvol2nd, Change_CATvol2)
    FS_COPY(CATOtherSelect, Change_CATOtherSelect)
    FS_COPY(CATOtherEV, Change_CATOtherEV)

    for (int i = 0; i < kStations; ++i)
        FS_COPY_AT(XS_, Change_XS_, i)
    for (int i = 0; i < kUsers; ++i)
        FS_COPY_AT(XZ_, Change_XZ_, i)
    for (int i = 0; i < 2; ++i)
        FS_COPY_AT(XV_, Change_XV_, i)
    // Channels 7 and 8 carry channel 0's name; the changed-only copy takes them here.
    for (int ch = 0; ch < kChannelsFull; ++ch)
        FS_COPY_AT(GasName, Change_GasName, ch)
    for (int i = 0; i < 6; ++i)
        FS_COPY_AT(G1_, Change_G1_, i)
    FS_COPY(CATOther, Change_CATOther)
    FS_COPY(TCOther, Change_TCOther)
    for (int i = 0; i < 7; ++i)
        FS_COPY_AT(UG_, Change_UG_, i)

    for (int i = 0; i < kPreConv; ++i) {
        if (!onlyChanged || src.Change_LB_(i)) {
            dst.setLB_name(i, src.LB_name(i));
            dst.setLB_longname(i, src.LB_longname(i));
            dst.setLB_fc(i, src.LB_fc(i));
        }
    }
    FS_COPY(LN_, Change_LN_)
    for (int i = 0; i < kUserConv; ++i) {
        if (!onlyChanged || src.Change_LO_(i)) {
            dst.setLO_name(i, src.LO_name(i));
            dst.setLO_longname(i, src.LO_longname(i));
            dst.setLO_fc(i, src.LO_fc(i));
        }
    }
    for (int i = 0; i < kConvAlarms; ++i) {
        if (!onlyChanged || src.Change_LA_(i)) {
            dst.setLA_warn(i, src.LA_warn(i));
            dst.setLA_alarm(i, src.LA_alarm(i));
            dst.setLA_ratio(i, src.LA_ratio(i));
            dst.setLA_volt(i, src.LA_volt(i));
        }
    }

    // Groups the instrument takes in one command: any flagged member sends the whole group.
    auto anyFlag = [&](bool (clsInstrument::*flag)(int) const, int from, int to) {
        for (int i = from; i <= to; ++i)
            if ((src.*flag)(i))
                return true;
        return false;
    };
    if (!onlyChanged || anyFlag(&clsInstrument::Change_HH_, 0, 1))
        for (int i = 0; i <= 1; ++i)
            dst.setHH_(i, src.HH_(i));
    if (!onlyChanged || anyFlag(&clsInstrument::Change_HE_, 0, 2))
        for (int i = 0; i <= 2; ++i)
            dst.setHE_(i, src.HE_(i));
    if (!onlyChanged || anyFlag(&clsInstrument::Change_RP_, 0, 1))
        for (int i = 0; i <= 1; ++i)
            dst.setRP_(i, src.RP_(i));
    if (!onlyChanged || anyFlag(&clsInstrument::Change_SI_, 0, 3))
        for (int i = 0; i <= 3; ++i)
            dst.setSI_(i, src.SI_(i));
    if (!onlyChanged) {
        for (int i = 0; i <= 8; ++i)
            dst.setSZ_(i, src.SZ_(i));
        for (int i = 0; i <= 6; ++i)
            dst.setS1_(i, src.S1_(i));
    }
    if (!onlyChanged || anyFlag(&clsInstrument::Change_AltRng, 1, 3))
        for (int ch = 1; ch <= 3; ++ch)
            dst.setAltRng(ch, src.AltRng(ch));
    if (!onlyChanged || anyFlag(&clsInstrument::Change_Zero, 0, 6))
        for (int ch = 0; ch <= 6; ++ch)
            dst.setZero(ch, src.Zero(ch));
    if (!onlyChanged || anyFlag(&clsInstrument::Change_ZeroForce, 0, 6))
        for (int ch = 0; ch <= 6; ++ch)
            dst.setZeroForce(ch, src.ZeroForce(ch));
    for (int i = 0; i < 4; ++i)
        FS_COPY_AT(FL_, Change_FL_, i)
    // The catalytic ratio of channel 0 travels as FL_(0); the record keeps it as Ratio(0) too.
    if (src.Change_FL_(0))
        dst.setRatio(0, float(src.FL_(0)));

    for (int e = 0; e < kPidEntries; ++e) {
        if (!onlyChanged || src.Change_PIDName(e)) {
            dst.setPIDLongName(e, src.PIDLongName(e));
            dst.setPIDName(e, src.PIDName(e));
        }
        for (int j = 0; j < 2; ++j) {
            if (onlyChanged && !src.Change_PIDSpec(e, j))
                continue;
            dst.setPIDFullScale(e, j, src.PIDFullScale(e, j));
            dst.setPIDPoint(e, j, src.PIDPoint(e, j));
            dst.setPIDUnit(e, j, src.PIDUnit(e, j));
            dst.setPIDDigit(e, j, src.PIDDigit(e, j));
            dst.setPIDWarn(e, j, src.PIDWarn(e, j));
            dst.setPIDAlarm(e, j, src.PIDAlarm(e, j));
            dst.setPIDStel(e, j, src.PIDStel(e, j));
            dst.setPIDTwa(e, j, src.PIDTwa(e, j));
            dst.setPIDAutoCal(e, j, src.PIDAutoCal(e, j));
            dst.setPIDFactor(e, j, src.PIDFactor(e, j));
        }
    }

    if (!onlyChanged) {
        dst.setInvalidHE_(src.invalidHE_());
        dst.setInvalidWB(src.invalidWB());
        dst.setInvalidFF(src.invalidFF());
        dst.setInvalidLO_(src.invalidLO_());
        dst.setInvalidLB_(src.invalidLB_());
        dst.setInvalidLA_(src.invalidLA_());
        dst.setInvalidFL_(src.invalidFL_());
        dst.setInvalidGN(src.invalidGN());
        dst.setInvalidLP(src.invalidLP());
        dst.setInvalidLI(src.invalidLI());
        dst.setInvalidG1(src.invalidG1());
        dst.setInvalidLJ(src.invalidLJ());
        dst.setInvalidIF(src.InvalidIF());
    }
}

#undef FS_COPY
#undef FS_COPY_AT
