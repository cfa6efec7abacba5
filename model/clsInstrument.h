#pragma once
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The instrument record: identity, settings, gas channels, lists, conversion and PID
// tables, live values, and a Change_ flag for every writable setting.
//
// Access pattern (every member below follows it):
//   getter      float Warning(int ch) const            the stored value
//   setter      bool setWarning(int ch, float v)       store; raise Change_Warn(ch) and, for
//                                                      channels 4..6, Change_SubBoard
//   flag        bool Change_Warn(int ch) const
//   flag set    void setChange_Warn(int ch, bool v)    stores only the flag
// The setter name is "set" and the member's name with its first letter in capitals
// (setInvalidWB, setChangeDenst). 16-bit members take an int and 32-bit members a qint64:
// a value outside the member's range is refused (setter returns false), never wrapped.
//
// Two doors. A setter is the USER door: it raises the member's Change_ flag (and
// Change_SubBoard where that applies). The link and any other code that fills the record
// from the instrument use the DEVICE door: while a clsInstrument::DeviceDoor object is
// alive on the record, the same setters store the value and raise no flag.
//     { clsInstrument::DeviceDoor door(rec); rec.setAlarmMode(1); }   // no flag raised
//
// Indices. Gas channels 0..9 act; a read outside gives 0 / "" and a write outside is
// ignored (returns false). Warning, Alarm, Stel, Twa take 0..10. PID entries 0..16 act
// (others ignored); the PID range j is 0 (high) or 1 (low). Lists (XS_ 0..128, XZ_ 0..32,
// XV_ 0..2, UG_ 0..7, HH_ 0..2, HE_ 0..3, RP_ 0..2, SI_ 0..4, SZ_ 0..9, S1_ 0..7, G1_ 0..6,
// FL_ 0..4, AnalogValue 0..26, LO_ 0..5, LB_ 0..30, LA_ 0..35), the alarm points outside
// 0..10 and the PID range outside 0..1 are errors: the read gives 0 / "", the write is
// refused, and lastError() names the access (also logged with qWarning).
//
// Generic access: every member has an id (clsInstrument::M) and every flag one
// (clsInstrument::F); info(), value()/setValue(), number()/text()/date() and
// flag()/setFlag() let table-driven code (the setting-line codec, the history CSV) loop
// over members without spelling each one out. They follow the same doors and bounds.
class clsInstrument
{
public:
    // Member ids, in declaration order of the accessors below.
    enum class M : uint16_t {
        SerialNo, DummySerial, StationID, UserID, RomNumber, SUM, SpecType, CommFlags, ImportFlag,
        FailLine, SysDate, SysDateOffset, MessageString, Key, invalidWB, invalidFL_, invalidGN,
        invalidLP, invalidHE_, invalidFF, invalidLO_, invalidLB_, invalidLA_, invalidLI, invalidG1,
        invalidLJ, InvalidIF, AlarmMode, Intervals, DispID, DispCalLimit, CalCheck, CalLimit,
        LunchBreak, AlarmSilence, Confermation, LogOverWrite, LcdBackLight, LcdContrast, AlarmO2,
        HcMode, CurrHc, LogaClear, LBMode, BarHoleTime, LeakBeep, IRRange, UsePasswd, Password,
        AutoZero, ConvFc, Battery, DemandZero, DispSpanFc, LogoDisp, MEDisp, AliveDisp,
        RemainTimeDisp, AFapDisp, UIgasDisp, UWdateDisp, BNuserLogoName, CATOtherEV, InertOnOff,
        CATOtherSelect, CATOther, TCOther, CATppm1st, CATppm2nd, CATvol1st, CATvol2nd, Inert1st,
        Inert2nd, LN_, GasName, GasUnit, GasFullScale, GasDesit, GasPoint, GasEnabled, GasType,
        AutoCalib, Ratio, CalibBefore, CalibAfter, CalibDate, Zero, ZeroForce, AltRng,
        PIDSmallRange, AutoRange, changeDenst, Warning, Alarm, Stel, Twa, XS_, XZ_, XV_, UG_, HH_,
        HE_, RP_, SI_, SZ_, S1_, G1_, FL_, AnalogValue, LO_longname, LO_name, LO_fc, LB_longname,
        LB_name, LB_fc, LA_warn, LA_alarm, LA_ratio, LA_volt, PIDName, PIDLongName, PIDUnit,
        PIDPoint, PIDFullScale, PIDDigit, PIDWarn, PIDAlarm, PIDStel, PIDTwa, PIDAutoCal, PIDFactor,
        Count
    };
    // Flag ids.
    enum class F : uint16_t {
        Change_SerialNo, Change_DummySerial, Change_StationID, Change_UserID, Change_SpecType,
        Change_invalidIF, Change_AlarmMode, Change_Interval, Change_DispID, Change_DispCalLimit,
        Change_CalCheck, Change_CalLimit, Change_LunchBreak, Change_AlarmSilence,
        Change_Confermation, Change_LogOverWrite, Change_LcdBackLight, Change_LcdContrast,
        Change_AlarmO2, Change_HCMode, Change_CurrHc, Change_logaClear, Change_LBmode,
        Change_BarHoleTime, Change_LeakBeep, Change_IRRange, Change_UsePasswd, Change_Password,
        Change_AutoZero, Change_ConvFc, Change_Battery, Change_DemandZero, Change_DispSpanFc,
        Change_LogoDisp, Change_MEDisp, Change_AliveDisp, Change_RemainTimeDisp, Change_AFapDisp,
        Change_UIgasDisp, Change_UWdateDisp, Change_BNuserLogoName, Change_CATOtherEV,
        Change_InertOnOff, Change_CATOtherSelect, Change_CATOther, Change_TCOther, Change_CATppm1,
        Change_CATppm2, Change_CATvol1, Change_CATvol2, Change_Inert1st, Change_Inert2nd,
        Change_LN_, Change_GasName, Change_GasUnit, Change_GasFullScale, Change_GasDesit,
        Change_GasPoint, Change_GasEnable, Change_GasType, Change_AutoCal, Change_Zero,
        Change_ZeroForce, Change_AltRng, Change_PIDSmallRange, Change_Warn, Change_Alarm,
        Change_Stel, Change_Twa, Change_XS_, Change_XZ_, Change_XV_, Change_UG_, Change_HH_,
        Change_HE_, Change_RP_, Change_SI_, Change_G1_, Change_FL_, Change_LO_, Change_LB_,
        Change_LA_, Change_PIDName, Change_PIDSpec, Change_SubBoard, Count
    };

    enum class Kind : uint8_t { Int16, Int32, Int64, Single, Text, Date, Bool };

    struct MemberInfo {
        const char *name;     // the member's name, e.g. "Warning"
        Kind kind;
        int16_t count1;       // number of entries of the first index (1 for a scalar)
        int16_t count2;       // of the second index (PID range), else 1
        bool outsideIsError;  // false: indices outside are ignored quietly
        F flag;               // F::Count when the member has no Change_ flag
        int16_t subBoardFrom; // first index whose set raises Change_SubBoard, -1 none
        int16_t subBoardTo;
        int16_t blankWidth;   // a blank text reads and stores as this many blanks (0: no rule)
    };
    struct FlagInfo {
        const char *name; // e.g. "Change_Warn"
        int16_t count1;
        int16_t count2;
    };

    static const MemberInfo &info(M m);
    static const FlagInfo &info(F f);
    static std::optional<M> memberByName(const QString &name);
    static std::optional<F> flagByName(const QString &name);

    // While one of these lives, setters on the record raise no Change_ flag. Nestable.
    class DeviceDoor
    {
    public:
        explicit DeviceDoor(clsInstrument &rec) : m_rec(rec) { ++m_rec.m_deviceDepth; }
        ~DeviceDoor() { --m_rec.m_deviceDepth; }
        DeviceDoor(const DeviceDoor &) = delete;
        DeviceDoor &operator=(const DeviceDoor &) = delete;

    private:
        clsInstrument &m_rec;
    };
    bool deviceDoorOpen() const { return m_deviceDepth > 0; }

    clsInstrument();
    clsInstrument(const clsInstrument &other);            // copies data and flags, not doors
    clsInstrument &operator=(const clsInstrument &other); // same

    // Every member back to its default and every Change_ flag cleared: numbers 0, texts "",
    // dates null, GasPoint 0 on every channel, InvalidIF True, XV_(0) and XV_(1) 1.
    // GasFullScale (0 in a new record), CommFlags and ImportFlag are left as they are.
    void ClearDatas();
    // Every Change_ flag to Value except Change_SerialNo and Change_DummySerial.
    void SetChangeFlags(bool Value);
    // Every Change_ flag to False, the two serial-number flags included.
    void ClearChangeFlags();
    // True when any Change_ flag is set.
    bool AnyChangeFlag() const;

    // Generic access by id. value() gives int (Int16/Int32), qint64, float, QString, QDateTime
    // or bool; setValue() converts from what QVariant can convert and refuses the rest.
    QVariant value(M m, int i = 0, int j = 0) const;
    bool setValue(M m, const QVariant &v, int i = 0, int j = 0);
    double number(M m, int i = 0, int j = 0) const;       // numeric kinds (Bool: -1 / 0)
    bool setNumber(M m, double v, int i = 0, int j = 0);  // refuses fractions for integers
    QString text(M m, int i = 0, int j = 0) const;
    bool setText(M m, const QString &v, int i = 0, int j = 0);
    QDateTime date(M m, int i = 0, int j = 0) const;
    bool setDate(M m, const QDateTime &v, int i = 0, int j = 0);
    bool flag(F f, int i = 0, int j = 0) const;
    void setFlag(F f, bool v, int i = 0, int j = 0);
    // The flag that covers member m at (i, j); false for a member without a flag.
    bool isChanged(M m, int i = 0, int j = 0) const;

    // Last refused access (index outside its bounds, value outside its type); "" when none.
    QString lastError() const { return m_lastError; }
    void clearLastError() { m_lastError.clear(); }

    // ---- Identity and state
    // SerialNo: instrument serial number; a blank text reads and stores as 20 blanks; set raises Change_SerialNo
    QString SerialNo() const { return text(M::SerialNo); }
    bool setSerialNo(const QString &v) { return setText(M::SerialNo, v); }
    // DummySerial: manufacture number (20 characters); blank as SerialNo; set raises Change_DummySerial
    QString DummySerial() const { return text(M::DummySerial); }
    bool setDummySerial(const QString &v) { return setText(M::DummySerial, v); }
    // StationID: selected station name; a blank text reads and stores as 16 blanks; set raises Change_StationID
    QString StationID() const { return text(M::StationID); }
    bool setStationID(const QString &v) { return setText(M::StationID, v); }
    // UserID: selected user name; blank as StationID; set raises Change_UserID
    QString UserID() const { return text(M::UserID); }
    bool setUserID(const QString &v) { return setText(M::UserID, v); }
    // RomNumber: program number of the "VP,R" answer, 0 until read
    int32_t RomNumber() const { return int32_t(number(M::RomNumber)); }
    bool setRomNumber(qint64 v) { return setNumber(M::RomNumber, double(v)); }
    // SUM: text of the "VS,R" answer
    QString SUM() const { return text(M::SUM); }
    bool setSUM(const QString &v) { return setText(M::SUM, v); }
    // SpecType: language digit "0".."4"; set raises Change_SpecType
    QString SpecType() const { return text(M::SpecType); }
    bool setSpecType(const QString &v) { return setText(M::SpecType, v); }
    // CommFlags: -1 once the record holds data read from (or written to) the instrument; ClearDatas leaves it
    int16_t CommFlags() const { return int16_t(number(M::CommFlags)); }
    bool setCommFlags(int v) { return setNumber(M::CommFlags, double(v)); }
    // ImportFlag: -1 after a settings file was read into the record; ClearDatas leaves it
    int16_t ImportFlag() const { return int16_t(number(M::ImportFlag)); }
    bool setImportFlag(int v) { return setNumber(M::ImportFlag, double(v)); }
    // FailLine: command whose answer failed in the last read ("HC,R" for an improper clock answer)
    QString FailLine() const { return text(M::FailLine); }
    bool setFailLine(const QString &v) { return setText(M::FailLine, v); }
    // SysDate: instrument clock as last read
    QDateTime SysDate() const { return date(M::SysDate); }
    bool setSysDate(const QDateTime &v) { return setDate(M::SysDate, v); }
    // SysDateOffset: PC time minus instrument time, in seconds; set when the "HC,R" answer is parsed
    qint64 SysDateOffset() const { return qint64(number(M::SysDateOffset)); }
    bool setSysDateOffset(qint64 v) { return setNumber(M::SysDateOffset, double(v)); }
    // MessageString: text the answer parser leaves for the main window (InstMessage)
    QString MessageString() const { return text(M::MessageString); }
    bool setMessageString(const QString &v) { return setText(M::MessageString, v); }
    // Key: link field, not a setting
    QString Key() const { return text(M::Key); }
    bool setKey(const QString &v) { return setText(M::Key, v); }

    // ---- Command-group support flags (True = the instrument refuses the group; no Change_ flag, except InvalidIF)
    bool invalidWB() const { return number(M::invalidWB) != 0; }
    bool setInvalidWB(bool v) { return setNumber(M::invalidWB, v ? -1.0 : 0.0); }
    bool invalidFL_() const { return number(M::invalidFL_) != 0; }
    bool setInvalidFL_(bool v) { return setNumber(M::invalidFL_, v ? -1.0 : 0.0); }
    bool invalidGN() const { return number(M::invalidGN) != 0; }
    bool setInvalidGN(bool v) { return setNumber(M::invalidGN, v ? -1.0 : 0.0); }
    bool invalidLP() const { return number(M::invalidLP) != 0; }
    bool setInvalidLP(bool v) { return setNumber(M::invalidLP, v ? -1.0 : 0.0); }
    bool invalidHE_() const { return number(M::invalidHE_) != 0; }
    bool setInvalidHE_(bool v) { return setNumber(M::invalidHE_, v ? -1.0 : 0.0); }
    bool invalidFF() const { return number(M::invalidFF) != 0; }
    bool setInvalidFF(bool v) { return setNumber(M::invalidFF, v ? -1.0 : 0.0); }
    bool invalidLO_() const { return number(M::invalidLO_) != 0; }
    bool setInvalidLO_(bool v) { return setNumber(M::invalidLO_, v ? -1.0 : 0.0); }
    bool invalidLB_() const { return number(M::invalidLB_) != 0; }
    bool setInvalidLB_(bool v) { return setNumber(M::invalidLB_, v ? -1.0 : 0.0); }
    bool invalidLA_() const { return number(M::invalidLA_) != 0; }
    bool setInvalidLA_(bool v) { return setNumber(M::invalidLA_, v ? -1.0 : 0.0); }
    bool invalidLI() const { return number(M::invalidLI) != 0; }
    bool setInvalidLI(bool v) { return setNumber(M::invalidLI, v ? -1.0 : 0.0); }
    bool invalidG1() const { return number(M::invalidG1) != 0; }
    bool setInvalidG1(bool v) { return setNumber(M::invalidG1, v ? -1.0 : 0.0); }
    bool invalidLJ() const { return number(M::invalidLJ) != 0; }
    bool setInvalidLJ(bool v) { return setNumber(M::invalidLJ, v ? -1.0 : 0.0); }
    // InvalidIF: True after ClearDatas; its set raises Change_invalidIF; set raises Change_invalidIF
    bool InvalidIF() const { return number(M::InvalidIF) != 0; }
    bool setInvalidIF(bool v) { return setNumber(M::InvalidIF, v ? -1.0 : 0.0); }

    // ---- Scalar settings
    // AlarmMode: set raises Change_AlarmMode
    int16_t AlarmMode() const { return int16_t(number(M::AlarmMode)); }
    bool setAlarmMode(int v) { return setNumber(M::AlarmMode, double(v)); }
    // Intervals: logging interval in seconds; set raises Change_Interval
    int16_t Intervals() const { return int16_t(number(M::Intervals)); }
    bool setIntervals(int v) { return setNumber(M::Intervals, double(v)); }
    // DispID: -1 on; set raises Change_DispID
    int16_t DispID() const { return int16_t(number(M::DispID)); }
    bool setDispID(int v) { return setNumber(M::DispID, double(v)); }
    // DispCalLimit: -1 on; set raises Change_DispCalLimit
    int16_t DispCalLimit() const { return int16_t(number(M::DispCalLimit)); }
    bool setDispCalLimit(int v) { return setNumber(M::DispCalLimit, double(v)); }
    // CalCheck: set raises Change_CalCheck
    int16_t CalCheck() const { return int16_t(number(M::CalCheck)); }
    bool setCalCheck(int v) { return setNumber(M::CalCheck, double(v)); }
    // CalLimit: days; set raises Change_CalLimit
    int16_t CalLimit() const { return int16_t(number(M::CalLimit)); }
    bool setCalLimit(int v) { return setNumber(M::CalLimit, double(v)); }
    // LunchBreak: set raises Change_LunchBreak
    int16_t LunchBreak() const { return int16_t(number(M::LunchBreak)); }
    bool setLunchBreak(int v) { return setNumber(M::LunchBreak, double(v)); }
    // AlarmSilence: set raises Change_AlarmSilence
    int16_t AlarmSilence() const { return int16_t(number(M::AlarmSilence)); }
    bool setAlarmSilence(int v) { return setNumber(M::AlarmSilence, double(v)); }
    // Confermation: set raises Change_Confermation
    int16_t Confermation() const { return int16_t(number(M::Confermation)); }
    bool setConfermation(int v) { return setNumber(M::Confermation, double(v)); }
    // LogOverWrite: set raises Change_LogOverWrite
    int16_t LogOverWrite() const { return int16_t(number(M::LogOverWrite)); }
    bool setLogOverWrite(int v) { return setNumber(M::LogOverWrite, double(v)); }
    // LcdBackLight: set raises Change_LcdBackLight
    int16_t LcdBackLight() const { return int16_t(number(M::LcdBackLight)); }
    bool setLcdBackLight(int v) { return setNumber(M::LcdBackLight, double(v)); }
    // LcdContrast: set raises Change_LcdContrast
    int16_t LcdContrast() const { return int16_t(number(M::LcdContrast)); }
    bool setLcdContrast(int v) { return setNumber(M::LcdContrast, double(v)); }
    // AlarmO2: 1 selects the reversed warning/alarm order of the oxygen channel; set raises Change_AlarmO2
    int16_t AlarmO2() const { return int16_t(number(M::AlarmO2)); }
    bool setAlarmO2(int v) { return setNumber(M::AlarmO2, double(v)); }
    // HcMode: set raises Change_HCMode
    int16_t HcMode() const { return int16_t(number(M::HcMode)); }
    bool setHcMode(int v) { return setNumber(M::HcMode, double(v)); }
    // CurrHc: set raises Change_CurrHc
    int16_t CurrHc() const { return int16_t(number(M::CurrHc)); }
    bool setCurrHc(int v) { return setNumber(M::CurrHc, double(v)); }
    // LogaClear: set raises Change_logaClear
    int16_t LogaClear() const { return int16_t(number(M::LogaClear)); }
    bool setLogaClear(int v) { return setNumber(M::LogaClear, double(v)); }
    // LBMode: set raises Change_LBmode
    int16_t LBMode() const { return int16_t(number(M::LBMode)); }
    bool setLBMode(int v) { return setNumber(M::LBMode, double(v)); }
    // BarHoleTime: set raises Change_BarHoleTime
    int16_t BarHoleTime() const { return int16_t(number(M::BarHoleTime)); }
    bool setBarHoleTime(int v) { return setNumber(M::BarHoleTime, double(v)); }
    // LeakBeep: set raises Change_LeakBeep
    int16_t LeakBeep() const { return int16_t(number(M::LeakBeep)); }
    bool setLeakBeep(int v) { return setNumber(M::LeakBeep, double(v)); }
    // IRRange: set raises Change_IRRange
    int16_t IRRange() const { return int16_t(number(M::IRRange)); }
    bool setIRRange(int v) { return setNumber(M::IRRange, double(v)); }
    // UsePasswd: set raises Change_UsePasswd
    int16_t UsePasswd() const { return int16_t(number(M::UsePasswd)); }
    bool setUsePasswd(int v) { return setNumber(M::UsePasswd, double(v)); }
    // Password: 4 characters; set raises Change_Password
    QString Password() const { return text(M::Password); }
    bool setPassword(const QString &v) { return setText(M::Password, v); }
    // AutoZero: set raises Change_AutoZero
    int16_t AutoZero() const { return int16_t(number(M::AutoZero)); }
    bool setAutoZero(int v) { return setNumber(M::AutoZero, double(v)); }
    // ConvFc: set raises Change_ConvFc
    int16_t ConvFc() const { return int16_t(number(M::ConvFc)); }
    bool setConvFc(int v) { return setNumber(M::ConvFc, double(v)); }
    // Battery: set raises Change_Battery
    int16_t Battery() const { return int16_t(number(M::Battery)); }
    bool setBattery(int v) { return setNumber(M::Battery, double(v)); }
    // DemandZero: set raises Change_DemandZero
    int16_t DemandZero() const { return int16_t(number(M::DemandZero)); }
    bool setDemandZero(int v) { return setNumber(M::DemandZero, double(v)); }
    // DispSpanFc: set raises Change_DispSpanFc
    int16_t DispSpanFc() const { return int16_t(number(M::DispSpanFc)); }
    bool setDispSpanFc(int v) { return setNumber(M::DispSpanFc, double(v)); }
    // LogoDisp: 0..4; set raises Change_LogoDisp
    int16_t LogoDisp() const { return int16_t(number(M::LogoDisp)); }
    bool setLogoDisp(int v) { return setNumber(M::LogoDisp, double(v)); }
    // MEDisp: set raises Change_MEDisp
    int16_t MEDisp() const { return int16_t(number(M::MEDisp)); }
    bool setMEDisp(int v) { return setNumber(M::MEDisp, double(v)); }
    // AliveDisp: set raises Change_AliveDisp
    int16_t AliveDisp() const { return int16_t(number(M::AliveDisp)); }
    bool setAliveDisp(int v) { return setNumber(M::AliveDisp, double(v)); }
    // RemainTimeDisp: set raises Change_RemainTimeDisp
    int16_t RemainTimeDisp() const { return int16_t(number(M::RemainTimeDisp)); }
    bool setRemainTimeDisp(int v) { return setNumber(M::RemainTimeDisp, double(v)); }
    // AFapDisp: set raises Change_AFapDisp
    int16_t AFapDisp() const { return int16_t(number(M::AFapDisp)); }
    bool setAFapDisp(int v) { return setNumber(M::AFapDisp, double(v)); }
    // UIgasDisp: set raises Change_UIgasDisp
    int16_t UIgasDisp() const { return int16_t(number(M::UIgasDisp)); }
    bool setUIgasDisp(int v) { return setNumber(M::UIgasDisp, double(v)); }
    // UWdateDisp: 0 MM/DD/YYYY, 1 DD/MM/YYYY; set raises Change_UWdateDisp
    int16_t UWdateDisp() const { return int16_t(number(M::UWdateDisp)); }
    bool setUWdateDisp(int v) { return setNumber(M::UWdateDisp, double(v)); }
    // BNuserLogoName: 20 characters; set raises Change_BNuserLogoName
    QString BNuserLogoName() const { return text(M::BNuserLogoName); }
    bool setBNuserLogoName(const QString &v) { return setText(M::BNuserLogoName, v); }
    // CATOtherEV: 1 = "ME"; set raises Change_CATOtherEV
    int16_t CATOtherEV() const { return int16_t(number(M::CATOtherEV)); }
    bool setCATOtherEV(int v) { return setNumber(M::CATOtherEV, double(v)); }
    // InertOnOff: set raises Change_InertOnOff
    int16_t InertOnOff() const { return int16_t(number(M::InertOnOff)); }
    bool setInertOnOff(int v) { return setNumber(M::InertOnOff, double(v)); }
    // CATOtherSelect: set raises Change_CATOtherSelect
    int16_t CATOtherSelect() const { return int16_t(number(M::CATOtherSelect)); }
    bool setCATOtherSelect(int v) { return setNumber(M::CATOtherSelect, double(v)); }
    // CATOther: set raises Change_CATOther
    QString CATOther() const { return text(M::CATOther); }
    bool setCATOther(const QString &v) { return setText(M::CATOther, v); }
    // TCOther: set raises Change_TCOther
    QString TCOther() const { return text(M::TCOther); }
    bool setTCOther(const QString &v) { return setText(M::TCOther, v); }
    // CATppm1st: set raises Change_CATppm1
    int32_t CATppm1st() const { return int32_t(number(M::CATppm1st)); }
    bool setCATppm1st(qint64 v) { return setNumber(M::CATppm1st, double(v)); }
    // CATppm2nd: set raises Change_CATppm2
    int32_t CATppm2nd() const { return int32_t(number(M::CATppm2nd)); }
    bool setCATppm2nd(qint64 v) { return setNumber(M::CATppm2nd, double(v)); }
    // CATvol1st: set raises Change_CATvol1
    float CATvol1st() const { return float(number(M::CATvol1st)); }
    bool setCATvol1st(float v) { return setNumber(M::CATvol1st, double(v)); }
    // CATvol2nd: set raises Change_CATvol2
    float CATvol2nd() const { return float(number(M::CATvol2nd)); }
    bool setCATvol2nd(float v) { return setNumber(M::CATvol2nd, double(v)); }
    // Inert1st: set raises Change_Inert1st
    float Inert1st() const { return float(number(M::Inert1st)); }
    bool setInert1st(float v) { return setNumber(M::Inert1st, double(v)); }
    // Inert2nd: set raises Change_Inert2nd
    float Inert2nd() const { return float(number(M::Inert2nd)); }
    bool setInert2nd(float v) { return setNumber(M::Inert2nd, double(v)); }
    // LN_: number of pre-defined conversions in use; set raises Change_LN_
    int16_t LN_() const { return int16_t(number(M::LN_)); }
    bool setLN_(int v) { return setNumber(M::LN_, double(v)); }

    // ---- Gas channels: 0..9 act (outside: read 0 / "", write ignored); 4..6 are option boards 1..3
    // GasName: "---" means no gas; set raises Change_GasName(ch), Change_SubBoard for ch 4..6
    QString GasName(int ch) const { return text(M::GasName, ch); }
    bool setGasName(int ch, const QString &v) { return setText(M::GasName, v, ch); }
    // GasUnit: set raises Change_GasUnit(ch), Change_SubBoard for ch 4..6
    QString GasUnit(int ch) const { return text(M::GasUnit, ch); }
    bool setGasUnit(int ch, const QString &v) { return setText(M::GasUnit, v, ch); }
    // GasFullScale: not reset by ClearDatas; set raises Change_GasFullScale(ch), Change_SubBoard for ch 4..6
    float GasFullScale(int ch) const { return float(number(M::GasFullScale, ch)); }
    bool setGasFullScale(int ch, float v) { return setNumber(M::GasFullScale, double(v), ch); }
    // GasDesit: reading step; set raises Change_GasDesit(ch), Change_SubBoard for ch 4..6
    float GasDesit(int ch) const { return float(number(M::GasDesit, ch)); }
    bool setGasDesit(int ch, float v) { return setNumber(M::GasDesit, double(v), ch); }
    // GasPoint: decimal places; set raises Change_GasPoint(ch), Change_SubBoard for ch 4..6
    int16_t GasPoint(int ch) const { return int16_t(number(M::GasPoint, ch)); }
    bool setGasPoint(int ch, int v) { return setNumber(M::GasPoint, double(v), ch); }
    // GasEnabled: -1 on, 0 off; set raises Change_GasEnable(ch), Change_SubBoard for ch 4..6
    int16_t GasEnabled(int ch) const { return int16_t(number(M::GasEnabled, ch)); }
    bool setGasEnabled(int ch, int v) { return setNumber(M::GasEnabled, double(v), ch); }
    // GasType: 0 catalytic, 4 infrared, 5 PID, 6 thermal conductivity, 16 empty option slot; one flag for all channels; set raises Change_GasType
    int16_t GasType(int ch) const { return int16_t(number(M::GasType, ch)); }
    bool setGasType(int ch, int v) { return setNumber(M::GasType, double(v), ch); }
    // AutoCalib: span-gas value; -101 not set, -121 no value; set raises Change_AutoCal(ch), Change_SubBoard for ch 4..6
    float AutoCalib(int ch) const { return float(number(M::AutoCalib, ch)); }
    bool setAutoCalib(int ch, float v) { return setNumber(M::AutoCalib, double(v), ch); }
    // Ratio: no flag of its own; set raises Change_SubBoard for ch 4..6
    float Ratio(int ch) const { return float(number(M::Ratio, ch)); }
    bool setRatio(int ch, float v) { return setNumber(M::Ratio, double(v), ch); }
    float CalibBefore(int ch) const { return float(number(M::CalibBefore, ch)); }
    bool setCalibBefore(int ch, float v) { return setNumber(M::CalibBefore, double(v), ch); }
    float CalibAfter(int ch) const { return float(number(M::CalibAfter, ch)); }
    bool setCalibAfter(int ch, float v) { return setNumber(M::CalibAfter, double(v), ch); }
    QDateTime CalibDate(int ch) const { return date(M::CalibDate, ch); }
    bool setCalibDate(int ch, const QDateTime &v) { return setDate(M::CalibDate, v, ch); }
    // Zero: set raises Change_Zero(ch), Change_SubBoard for ch 4..6
    int16_t Zero(int ch) const { return int16_t(number(M::Zero, ch)); }
    bool setZero(int ch, int v) { return setNumber(M::Zero, double(v), ch); }
    // ZeroForce: set raises Change_ZeroForce(ch), Change_SubBoard for ch 4..6
    int16_t ZeroForce(int ch) const { return int16_t(number(M::ZeroForce, ch)); }
    bool setZeroForce(int ch, int v) { return setNumber(M::ZeroForce, double(v), ch); }
    // AltRng: set raises Change_AltRng(ch)
    int16_t AltRng(int ch) const { return int16_t(number(M::AltRng, ch)); }
    bool setAltRng(int ch, int v) { return setNumber(M::AltRng, double(v), ch); }
    // PIDSmallRange: set raises Change_PIDSmallRange(ch)
    int16_t PIDSmallRange(int ch) const { return int16_t(number(M::PIDSmallRange, ch)); }
    bool setPIDSmallRange(int ch, int v) { return setNumber(M::PIDSmallRange, double(v), ch); }
    // AutoRange: no flag
    int16_t AutoRange(int ch) const { return int16_t(number(M::AutoRange, ch)); }
    bool setAutoRange(int ch, int v) { return setNumber(M::AutoRange, double(v), ch); }
    // changeDenst: no flag
    float changeDenst(int ch) const { return float(number(M::changeDenst, ch)); }
    bool setChangeDenst(int ch, float v) { return setNumber(M::changeDenst, double(v), ch); }

    // ---- Alarm points: channels 0..10; outside is an error (read 0, write refused)
    // Warning: -101 not set, -121 not used; set raises Change_Warn(ch), Change_SubBoard for ch 4..6
    float Warning(int ch) const { return float(number(M::Warning, ch)); }
    bool setWarning(int ch, float v) { return setNumber(M::Warning, double(v), ch); }
    // Alarm: -101 not set, -121 not used; set raises Change_Alarm(ch), Change_SubBoard for ch 4..6
    float Alarm(int ch) const { return float(number(M::Alarm, ch)); }
    bool setAlarm(int ch, float v) { return setNumber(M::Alarm, double(v), ch); }
    // Stel: -101 not set, -121 not used; set raises Change_Stel(ch), Change_SubBoard for ch 4..6
    float Stel(int ch) const { return float(number(M::Stel, ch)); }
    bool setStel(int ch, float v) { return setNumber(M::Stel, double(v), ch); }
    // Twa: -101 not set, -121 not used; set raises Change_Twa(ch), Change_SubBoard for ch 4..6
    float Twa(int ch) const { return float(number(M::Twa, ch)); }
    bool setTwa(int ch, float v) { return setNumber(M::Twa, double(v), ch); }

    // ---- Lists: indices outside the bounds are an error (read 0 / "", write refused)
    // XS_: station names; set raises Change_XS_(i)
    QString XS_(int i) const { return text(M::XS_, i); }
    bool setXS_(int i, const QString &v) { return setText(M::XS_, v, i); }
    // XZ_: user names; set raises Change_XZ_(i)
    QString XZ_(int i) const { return text(M::XZ_, i); }
    bool setXZ_(int i, const QString &v) { return setText(M::XZ_, v, i); }
    // XV_: 0: 1-based selected station, 1: selected user; ClearDatas sets both to 1; set raises Change_XV_(i)
    int16_t XV_(int i) const { return int16_t(number(M::XV_, i)); }
    bool setXV_(int i, int v) { return setNumber(M::XV_, double(v), i); }
    // UG_: channel-position bit mask of gas i; set raises Change_UG_(i)
    int16_t UG_(int i) const { return int16_t(number(M::UG_, i)); }
    bool setUG_(int i, int v) { return setNumber(M::UG_, double(v), i); }
    // HH_: set raises Change_HH_(i)
    int16_t HH_(int i) const { return int16_t(number(M::HH_, i)); }
    bool setHH_(int i, int v) { return setNumber(M::HH_, double(v), i); }
    // HE_: set raises Change_HE_(i)
    int16_t HE_(int i) const { return int16_t(number(M::HE_, i)); }
    bool setHE_(int i, int v) { return setNumber(M::HE_, double(v), i); }
    // RP_: set raises Change_RP_(i)
    int16_t RP_(int i) const { return int16_t(number(M::RP_, i)); }
    bool setRP_(int i, int v) { return setNumber(M::RP_, double(v), i); }
    // SI_: set raises Change_SI_(i)
    int16_t SI_(int i) const { return int16_t(number(M::SI_, i)); }
    bool setSI_(int i, int v) { return setNumber(M::SI_, double(v), i); }
    // SZ_: no flag
    int16_t SZ_(int i) const { return int16_t(number(M::SZ_, i)); }
    bool setSZ_(int i, int v) { return setNumber(M::SZ_, double(v), i); }
    // S1_: no flag
    int16_t S1_(int i) const { return int16_t(number(M::S1_, i)); }
    bool setS1_(int i, int v) { return setNumber(M::S1_, double(v), i); }
    // G1_: long names: 0 channel 0, 1 CAT other gas, 2..4 channels 4..6, 5 TC other gas; set raises Change_G1_(i), Change_SubBoard for i 2..4
    QString G1_(int i) const { return text(M::G1_, i); }
    bool setG1_(int i, const QString &v) { return setText(M::G1_, v, i); }
    // FL_: 0 CAT ratio of channel 0, 1 CAT other-gas ratio, 2 TC other-gas full scale in tenths, 3 CAT factor in hundredths; set raises Change_FL_(i)
    int32_t FL_(int i) const { return int32_t(number(M::FL_, i)); }
    bool setFL_(int i, qint64 v) { return setNumber(M::FL_, double(v), i); }
    // AnalogValue: A/D values in millivolts; no flag
    int32_t AnalogValue(int i) const { return int32_t(number(M::AnalogValue, i)); }
    bool setAnalogValue(int i, qint64 v) { return setNumber(M::AnalogValue, double(v), i); }

    // ---- Conversion tables (one flag per row covers its fields)
    // LO_longname: set raises Change_LO_(i)
    QString LO_longname(int i) const { return text(M::LO_longname, i); }
    bool setLO_longname(int i, const QString &v) { return setText(M::LO_longname, v, i); }
    // LO_name: set raises Change_LO_(i)
    QString LO_name(int i) const { return text(M::LO_name, i); }
    bool setLO_name(int i, const QString &v) { return setText(M::LO_name, v, i); }
    // LO_fc: user conversions; fc in hundredths; set raises Change_LO_(i)
    int16_t LO_fc(int i) const { return int16_t(number(M::LO_fc, i)); }
    bool setLO_fc(int i, int v) { return setNumber(M::LO_fc, double(v), i); }
    // LB_longname: set raises Change_LB_(i)
    QString LB_longname(int i) const { return text(M::LB_longname, i); }
    bool setLB_longname(int i, const QString &v) { return setText(M::LB_longname, v, i); }
    // LB_name: set raises Change_LB_(i)
    QString LB_name(int i) const { return text(M::LB_name, i); }
    bool setLB_name(int i, const QString &v) { return setText(M::LB_name, v, i); }
    // LB_fc: pre-defined conversions; fc in hundredths; set raises Change_LB_(i)
    int16_t LB_fc(int i) const { return int16_t(number(M::LB_fc, i)); }
    bool setLB_fc(int i, int v) { return setNumber(M::LB_fc, double(v), i); }
    // LA_warn: set raises Change_LA_(i)
    float LA_warn(int i) const { return float(number(M::LA_warn, i)); }
    bool setLA_warn(int i, float v) { return setNumber(M::LA_warn, double(v), i); }
    // LA_alarm: set raises Change_LA_(i)
    float LA_alarm(int i) const { return float(number(M::LA_alarm, i)); }
    bool setLA_alarm(int i, float v) { return setNumber(M::LA_alarm, double(v), i); }
    // LA_ratio: set raises Change_LA_(i)
    float LA_ratio(int i) const { return float(number(M::LA_ratio, i)); }
    bool setLA_ratio(int i, float v) { return setNumber(M::LA_ratio, double(v), i); }
    // LA_volt: set raises Change_LA_(i)
    float LA_volt(int i) const { return float(number(M::LA_volt, i)); }
    bool setLA_volt(int i, float v) { return setNumber(M::LA_volt, double(v), i); }

    // ---- PID table: entries e 0..16 act (outside: read 0 / "", write ignored); range j 0 high, 1 low (outside is an error)
    // PIDName: set raises Change_PIDName(e)
    QString PIDName(int e) const { return text(M::PIDName, e); }
    bool setPIDName(int e, const QString &v) { return setText(M::PIDName, v, e); }
    // PIDLongName: set raises Change_PIDName(e)
    QString PIDLongName(int e) const { return text(M::PIDLongName, e); }
    bool setPIDLongName(int e, const QString &v) { return setText(M::PIDLongName, v, e); }
    // PIDUnit: set raises Change_PIDSpec(e, j)
    QString PIDUnit(int e, int j) const { return text(M::PIDUnit, e, j); }
    bool setPIDUnit(int e, int j, const QString &v) { return setText(M::PIDUnit, v, e, j); }
    // PIDPoint: set raises Change_PIDSpec(e, j)
    int16_t PIDPoint(int e, int j) const { return int16_t(number(M::PIDPoint, e, j)); }
    bool setPIDPoint(int e, int j, int v) { return setNumber(M::PIDPoint, double(v), e, j); }
    // PIDFullScale: set raises Change_PIDSpec(e, j)
    float PIDFullScale(int e, int j) const { return float(number(M::PIDFullScale, e, j)); }
    bool setPIDFullScale(int e, int j, float v) { return setNumber(M::PIDFullScale, double(v), e, j); }
    // PIDDigit: set raises Change_PIDSpec(e, j)
    float PIDDigit(int e, int j) const { return float(number(M::PIDDigit, e, j)); }
    bool setPIDDigit(int e, int j, float v) { return setNumber(M::PIDDigit, double(v), e, j); }
    // PIDWarn: set raises Change_PIDSpec(e, j)
    float PIDWarn(int e, int j) const { return float(number(M::PIDWarn, e, j)); }
    bool setPIDWarn(int e, int j, float v) { return setNumber(M::PIDWarn, double(v), e, j); }
    // PIDAlarm: set raises Change_PIDSpec(e, j)
    float PIDAlarm(int e, int j) const { return float(number(M::PIDAlarm, e, j)); }
    bool setPIDAlarm(int e, int j, float v) { return setNumber(M::PIDAlarm, double(v), e, j); }
    // PIDStel: set raises Change_PIDSpec(e, j)
    float PIDStel(int e, int j) const { return float(number(M::PIDStel, e, j)); }
    bool setPIDStel(int e, int j, float v) { return setNumber(M::PIDStel, double(v), e, j); }
    // PIDTwa: set raises Change_PIDSpec(e, j)
    float PIDTwa(int e, int j) const { return float(number(M::PIDTwa, e, j)); }
    bool setPIDTwa(int e, int j, float v) { return setNumber(M::PIDTwa, double(v), e, j); }
    // PIDAutoCal: set raises Change_PIDSpec(e, j)
    float PIDAutoCal(int e, int j) const { return float(number(M::PIDAutoCal, e, j)); }
    bool setPIDAutoCal(int e, int j, float v) { return setNumber(M::PIDAutoCal, double(v), e, j); }
    // PIDFactor: set raises Change_PIDSpec(e, j)
    float PIDFactor(int e, int j) const { return float(number(M::PIDFactor, e, j)); }
    bool setPIDFactor(int e, int j, float v) { return setNumber(M::PIDFactor, double(v), e, j); }

    // ---- Change_ flags: get, and set directly (a direct set stores only the flag)
    bool Change_SerialNo() const { return flag(F::Change_SerialNo); }
    void setChange_SerialNo(bool v) { setFlag(F::Change_SerialNo, v); }
    bool Change_DummySerial() const { return flag(F::Change_DummySerial); }
    void setChange_DummySerial(bool v) { setFlag(F::Change_DummySerial, v); }
    bool Change_StationID() const { return flag(F::Change_StationID); }
    void setChange_StationID(bool v) { setFlag(F::Change_StationID, v); }
    bool Change_UserID() const { return flag(F::Change_UserID); }
    void setChange_UserID(bool v) { setFlag(F::Change_UserID, v); }
    bool Change_SpecType() const { return flag(F::Change_SpecType); }
    void setChange_SpecType(bool v) { setFlag(F::Change_SpecType, v); }
    bool Change_invalidIF() const { return flag(F::Change_invalidIF); }
    void setChange_invalidIF(bool v) { setFlag(F::Change_invalidIF, v); }
    bool Change_AlarmMode() const { return flag(F::Change_AlarmMode); }
    void setChange_AlarmMode(bool v) { setFlag(F::Change_AlarmMode, v); }
    bool Change_Interval() const { return flag(F::Change_Interval); }
    void setChange_Interval(bool v) { setFlag(F::Change_Interval, v); }
    bool Change_DispID() const { return flag(F::Change_DispID); }
    void setChange_DispID(bool v) { setFlag(F::Change_DispID, v); }
    bool Change_DispCalLimit() const { return flag(F::Change_DispCalLimit); }
    void setChange_DispCalLimit(bool v) { setFlag(F::Change_DispCalLimit, v); }
    bool Change_CalCheck() const { return flag(F::Change_CalCheck); }
    void setChange_CalCheck(bool v) { setFlag(F::Change_CalCheck, v); }
    bool Change_CalLimit() const { return flag(F::Change_CalLimit); }
    void setChange_CalLimit(bool v) { setFlag(F::Change_CalLimit, v); }
    bool Change_LunchBreak() const { return flag(F::Change_LunchBreak); }
    void setChange_LunchBreak(bool v) { setFlag(F::Change_LunchBreak, v); }
    bool Change_AlarmSilence() const { return flag(F::Change_AlarmSilence); }
    void setChange_AlarmSilence(bool v) { setFlag(F::Change_AlarmSilence, v); }
    bool Change_Confermation() const { return flag(F::Change_Confermation); }
    void setChange_Confermation(bool v) { setFlag(F::Change_Confermation, v); }
    bool Change_LogOverWrite() const { return flag(F::Change_LogOverWrite); }
    void setChange_LogOverWrite(bool v) { setFlag(F::Change_LogOverWrite, v); }
    bool Change_LcdBackLight() const { return flag(F::Change_LcdBackLight); }
    void setChange_LcdBackLight(bool v) { setFlag(F::Change_LcdBackLight, v); }
    bool Change_LcdContrast() const { return flag(F::Change_LcdContrast); }
    void setChange_LcdContrast(bool v) { setFlag(F::Change_LcdContrast, v); }
    bool Change_AlarmO2() const { return flag(F::Change_AlarmO2); }
    void setChange_AlarmO2(bool v) { setFlag(F::Change_AlarmO2, v); }
    bool Change_HCMode() const { return flag(F::Change_HCMode); }
    void setChange_HCMode(bool v) { setFlag(F::Change_HCMode, v); }
    bool Change_CurrHc() const { return flag(F::Change_CurrHc); }
    void setChange_CurrHc(bool v) { setFlag(F::Change_CurrHc, v); }
    bool Change_logaClear() const { return flag(F::Change_logaClear); }
    void setChange_logaClear(bool v) { setFlag(F::Change_logaClear, v); }
    bool Change_LBmode() const { return flag(F::Change_LBmode); }
    void setChange_LBmode(bool v) { setFlag(F::Change_LBmode, v); }
    bool Change_BarHoleTime() const { return flag(F::Change_BarHoleTime); }
    void setChange_BarHoleTime(bool v) { setFlag(F::Change_BarHoleTime, v); }
    bool Change_LeakBeep() const { return flag(F::Change_LeakBeep); }
    void setChange_LeakBeep(bool v) { setFlag(F::Change_LeakBeep, v); }
    bool Change_IRRange() const { return flag(F::Change_IRRange); }
    void setChange_IRRange(bool v) { setFlag(F::Change_IRRange, v); }
    bool Change_UsePasswd() const { return flag(F::Change_UsePasswd); }
    void setChange_UsePasswd(bool v) { setFlag(F::Change_UsePasswd, v); }
    bool Change_Password() const { return flag(F::Change_Password); }
    void setChange_Password(bool v) { setFlag(F::Change_Password, v); }
    bool Change_AutoZero() const { return flag(F::Change_AutoZero); }
    void setChange_AutoZero(bool v) { setFlag(F::Change_AutoZero, v); }
    bool Change_ConvFc() const { return flag(F::Change_ConvFc); }
    void setChange_ConvFc(bool v) { setFlag(F::Change_ConvFc, v); }
    bool Change_Battery() const { return flag(F::Change_Battery); }
    void setChange_Battery(bool v) { setFlag(F::Change_Battery, v); }
    bool Change_DemandZero() const { return flag(F::Change_DemandZero); }
    void setChange_DemandZero(bool v) { setFlag(F::Change_DemandZero, v); }
    bool Change_DispSpanFc() const { return flag(F::Change_DispSpanFc); }
    void setChange_DispSpanFc(bool v) { setFlag(F::Change_DispSpanFc, v); }
    bool Change_LogoDisp() const { return flag(F::Change_LogoDisp); }
    void setChange_LogoDisp(bool v) { setFlag(F::Change_LogoDisp, v); }
    bool Change_MEDisp() const { return flag(F::Change_MEDisp); }
    void setChange_MEDisp(bool v) { setFlag(F::Change_MEDisp, v); }
    bool Change_AliveDisp() const { return flag(F::Change_AliveDisp); }
    void setChange_AliveDisp(bool v) { setFlag(F::Change_AliveDisp, v); }
    bool Change_RemainTimeDisp() const { return flag(F::Change_RemainTimeDisp); }
    void setChange_RemainTimeDisp(bool v) { setFlag(F::Change_RemainTimeDisp, v); }
    bool Change_AFapDisp() const { return flag(F::Change_AFapDisp); }
    void setChange_AFapDisp(bool v) { setFlag(F::Change_AFapDisp, v); }
    bool Change_UIgasDisp() const { return flag(F::Change_UIgasDisp); }
    void setChange_UIgasDisp(bool v) { setFlag(F::Change_UIgasDisp, v); }
    bool Change_UWdateDisp() const { return flag(F::Change_UWdateDisp); }
    void setChange_UWdateDisp(bool v) { setFlag(F::Change_UWdateDisp, v); }
    bool Change_BNuserLogoName() const { return flag(F::Change_BNuserLogoName); }
    void setChange_BNuserLogoName(bool v) { setFlag(F::Change_BNuserLogoName, v); }
    bool Change_CATOtherEV() const { return flag(F::Change_CATOtherEV); }
    void setChange_CATOtherEV(bool v) { setFlag(F::Change_CATOtherEV, v); }
    bool Change_InertOnOff() const { return flag(F::Change_InertOnOff); }
    void setChange_InertOnOff(bool v) { setFlag(F::Change_InertOnOff, v); }
    bool Change_CATOtherSelect() const { return flag(F::Change_CATOtherSelect); }
    void setChange_CATOtherSelect(bool v) { setFlag(F::Change_CATOtherSelect, v); }
    bool Change_CATOther() const { return flag(F::Change_CATOther); }
    void setChange_CATOther(bool v) { setFlag(F::Change_CATOther, v); }
    bool Change_TCOther() const { return flag(F::Change_TCOther); }
    void setChange_TCOther(bool v) { setFlag(F::Change_TCOther, v); }
    bool Change_CATppm1() const { return flag(F::Change_CATppm1); }
    void setChange_CATppm1(bool v) { setFlag(F::Change_CATppm1, v); }
    bool Change_CATppm2() const { return flag(F::Change_CATppm2); }
    void setChange_CATppm2(bool v) { setFlag(F::Change_CATppm2, v); }
    bool Change_CATvol1() const { return flag(F::Change_CATvol1); }
    void setChange_CATvol1(bool v) { setFlag(F::Change_CATvol1, v); }
    bool Change_CATvol2() const { return flag(F::Change_CATvol2); }
    void setChange_CATvol2(bool v) { setFlag(F::Change_CATvol2, v); }
    bool Change_Inert1st() const { return flag(F::Change_Inert1st); }
    void setChange_Inert1st(bool v) { setFlag(F::Change_Inert1st, v); }
    bool Change_Inert2nd() const { return flag(F::Change_Inert2nd); }
    void setChange_Inert2nd(bool v) { setFlag(F::Change_Inert2nd, v); }
    bool Change_LN_() const { return flag(F::Change_LN_); }
    void setChange_LN_(bool v) { setFlag(F::Change_LN_, v); }
    bool Change_GasName(int i) const { return flag(F::Change_GasName, i); }
    void setChange_GasName(int i, bool v) { setFlag(F::Change_GasName, v, i); }
    bool Change_GasUnit(int i) const { return flag(F::Change_GasUnit, i); }
    void setChange_GasUnit(int i, bool v) { setFlag(F::Change_GasUnit, v, i); }
    bool Change_GasFullScale(int i) const { return flag(F::Change_GasFullScale, i); }
    void setChange_GasFullScale(int i, bool v) { setFlag(F::Change_GasFullScale, v, i); }
    bool Change_GasDesit(int i) const { return flag(F::Change_GasDesit, i); }
    void setChange_GasDesit(int i, bool v) { setFlag(F::Change_GasDesit, v, i); }
    bool Change_GasPoint(int i) const { return flag(F::Change_GasPoint, i); }
    void setChange_GasPoint(int i, bool v) { setFlag(F::Change_GasPoint, v, i); }
    bool Change_GasEnable(int i) const { return flag(F::Change_GasEnable, i); }
    void setChange_GasEnable(int i, bool v) { setFlag(F::Change_GasEnable, v, i); }
    bool Change_GasType() const { return flag(F::Change_GasType); }
    void setChange_GasType(bool v) { setFlag(F::Change_GasType, v); }
    bool Change_AutoCal(int i) const { return flag(F::Change_AutoCal, i); }
    void setChange_AutoCal(int i, bool v) { setFlag(F::Change_AutoCal, v, i); }
    bool Change_Zero(int i) const { return flag(F::Change_Zero, i); }
    void setChange_Zero(int i, bool v) { setFlag(F::Change_Zero, v, i); }
    bool Change_ZeroForce(int i) const { return flag(F::Change_ZeroForce, i); }
    void setChange_ZeroForce(int i, bool v) { setFlag(F::Change_ZeroForce, v, i); }
    bool Change_AltRng(int i) const { return flag(F::Change_AltRng, i); }
    void setChange_AltRng(int i, bool v) { setFlag(F::Change_AltRng, v, i); }
    bool Change_PIDSmallRange(int i) const { return flag(F::Change_PIDSmallRange, i); }
    void setChange_PIDSmallRange(int i, bool v) { setFlag(F::Change_PIDSmallRange, v, i); }
    bool Change_Warn(int i) const { return flag(F::Change_Warn, i); }
    void setChange_Warn(int i, bool v) { setFlag(F::Change_Warn, v, i); }
    bool Change_Alarm(int i) const { return flag(F::Change_Alarm, i); }
    void setChange_Alarm(int i, bool v) { setFlag(F::Change_Alarm, v, i); }
    bool Change_Stel(int i) const { return flag(F::Change_Stel, i); }
    void setChange_Stel(int i, bool v) { setFlag(F::Change_Stel, v, i); }
    bool Change_Twa(int i) const { return flag(F::Change_Twa, i); }
    void setChange_Twa(int i, bool v) { setFlag(F::Change_Twa, v, i); }
    bool Change_XS_(int i) const { return flag(F::Change_XS_, i); }
    void setChange_XS_(int i, bool v) { setFlag(F::Change_XS_, v, i); }
    bool Change_XZ_(int i) const { return flag(F::Change_XZ_, i); }
    void setChange_XZ_(int i, bool v) { setFlag(F::Change_XZ_, v, i); }
    bool Change_XV_(int i) const { return flag(F::Change_XV_, i); }
    void setChange_XV_(int i, bool v) { setFlag(F::Change_XV_, v, i); }
    bool Change_UG_(int i) const { return flag(F::Change_UG_, i); }
    void setChange_UG_(int i, bool v) { setFlag(F::Change_UG_, v, i); }
    bool Change_HH_(int i) const { return flag(F::Change_HH_, i); }
    void setChange_HH_(int i, bool v) { setFlag(F::Change_HH_, v, i); }
    bool Change_HE_(int i) const { return flag(F::Change_HE_, i); }
    void setChange_HE_(int i, bool v) { setFlag(F::Change_HE_, v, i); }
    bool Change_RP_(int i) const { return flag(F::Change_RP_, i); }
    void setChange_RP_(int i, bool v) { setFlag(F::Change_RP_, v, i); }
    bool Change_SI_(int i) const { return flag(F::Change_SI_, i); }
    void setChange_SI_(int i, bool v) { setFlag(F::Change_SI_, v, i); }
    bool Change_G1_(int i) const { return flag(F::Change_G1_, i); }
    void setChange_G1_(int i, bool v) { setFlag(F::Change_G1_, v, i); }
    bool Change_FL_(int i) const { return flag(F::Change_FL_, i); }
    void setChange_FL_(int i, bool v) { setFlag(F::Change_FL_, v, i); }
    bool Change_LO_(int i) const { return flag(F::Change_LO_, i); }
    void setChange_LO_(int i, bool v) { setFlag(F::Change_LO_, v, i); }
    bool Change_LB_(int i) const { return flag(F::Change_LB_, i); }
    void setChange_LB_(int i, bool v) { setFlag(F::Change_LB_, v, i); }
    bool Change_LA_(int i) const { return flag(F::Change_LA_, i); }
    void setChange_LA_(int i, bool v) { setFlag(F::Change_LA_, v, i); }
    bool Change_PIDName(int i) const { return flag(F::Change_PIDName, i); }
    void setChange_PIDName(int i, bool v) { setFlag(F::Change_PIDName, v, i); }
    bool Change_PIDSpec(int e, int j) const { return flag(F::Change_PIDSpec, e, j); }
    void setChange_PIDSpec(int e, int j, bool v) { setFlag(F::Change_PIDSpec, v, e, j); }
    bool Change_SubBoard() const { return flag(F::Change_SubBoard); }
    void setChange_SubBoard(bool v) { setFlag(F::Change_SubBoard, v); }

private:
    struct Slot {
        std::vector<double> num; // numeric kinds
        std::vector<QString> txt;
        std::vector<QDateTime> dat;
    };
    int slotIndex(M m, int i, int j, bool write) const; // -1: outside (error recorded if so)
    void raise(M m, int i, int j);
    void refuse(const QString &what) const;

    std::array<Slot, size_t(M::Count)> m_members;
    std::array<std::vector<bool>, size_t(F::Count)> m_flags;
    int m_deviceDepth = 0;
    mutable QString m_lastError;
};
