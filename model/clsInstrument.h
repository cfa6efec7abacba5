#pragma once
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <type_traits>
#include <vector>

// The instrument record: identity, settings, gas channels, lists, conversion and PID
// tables, live values, and a Change_ flag for every writable setting.
//
// Every member and flag is declared once, by name, in model/InstrumentMembers.def: the ids,
// the info tables and the accessors below are derived from that list.
//
// Access pattern (every member follows it):
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
    // Member and flag ids, in the order of model/InstrumentMembers.def.
    enum class M : uint16_t {
#define VANTIK_MEMBER(Name, ...) Name,
#include "model/InstrumentMembers.def"
#undef VANTIK_MEMBER
        Count
    };
    enum class F : uint16_t {
#define VANTIK_FLAG(Name, ...) Name,
#include "model/InstrumentMembers.def"
#undef VANTIK_FLAG
        Count,
        NoFlag = Count // a member without a Change_ flag
    };

    enum class Kind : uint8_t { Int16, Int32, Int64, Single, Text, Date, Bool };

    // What is known of a member: its shape and flag, and what the grids and files need
    // again (widths, fixed decimals, value ranges). Published so that every check reads
    // one source; the setters enforce only the index bounds and the type.
    struct MemberInfo {
        const char *name;     // the member's name, e.g. "Warning"
        Kind kind;
        int16_t count1;       // number of entries of the first index (1 for a scalar)
        int16_t count2;       // of the second index (PID range), else 1
        bool outsideIsError;  // false: indices outside are ignored quietly
        F flag;               // F::NoFlag when the member has no Change_ flag
        int16_t subBoardFrom = -1; // first index whose set raises Change_SubBoard, -1 none
        int16_t subBoardTo = -1;
        int16_t blankWidth = 0;    // a blank text reads and stores as this many blanks (0: no rule)
        int16_t width = 0;         // most characters of a text (0: no limit known)
        int8_t decimals = -1;      // decimal places the value is shown and sent with (-1: not fixed)
        int8_t scaleDigits = 0;    // the stored whole number is the value times 10^scaleDigits
        double lo = 0;             // the values an entry may take, when hasRange()
        double hi = -1;
        constexpr bool hasRange() const { return lo <= hi; }
        constexpr bool inRange(double v) const { return !hasRange() || (v >= lo && v <= hi); }
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

    // Values a download could not read (the instrument refused them). The member keeps its
    // cleared value, which is nobody's: the mark keeps uploads and settings files from taking
    // it for the instrument's. Any store into the value (a later read, the user's edit) clears
    // its mark; ClearDatas clears them all; a copy carries them.
    void setUnread(M m, int i = 0, int j = 0);
    bool isUnread(M m, int i = 0, int j = 0) const;
    bool AnyUnread() const { return !m_unread.empty(); }

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


    // ---- Accessors, one pair per member (see model/InstrumentMembers.def for what each holds)
#define VANTIK_GET_Int16 int16_t
#define VANTIK_GET_Int32 int32_t
#define VANTIK_GET_Int64 qint64
#define VANTIK_GET_Single float
#define VANTIK_GET_Bool bool
#define VANTIK_GET_Text QString
#define VANTIK_GET_Date QDateTime
#define VANTIK_SET_Int16 int
#define VANTIK_SET_Int32 qint64
#define VANTIK_SET_Int64 qint64
#define VANTIK_SET_Single float
#define VANTIK_SET_Bool bool
#define VANTIK_SET_Text const QString &
#define VANTIK_SET_Date const QDateTime &
#define VANTIK_ACCESSORS_D0(Name, Setter, K)                                                   \
    VANTIK_GET_##K Name() const { return get<VANTIK_GET_##K>(M::Name); }                       \
    bool Setter(VANTIK_SET_##K v) { return put(M::Name, v); }
#define VANTIK_ACCESSORS_D1(Name, Setter, K)                                                   \
    VANTIK_GET_##K Name(int i) const { return get<VANTIK_GET_##K>(M::Name, i); }               \
    bool Setter(int i, VANTIK_SET_##K v) { return put(M::Name, v, i); }
#define VANTIK_ACCESSORS_D2(Name, Setter, K)                                                   \
    VANTIK_GET_##K Name(int e, int j) const { return get<VANTIK_GET_##K>(M::Name, e, j); }     \
    bool Setter(int e, int j, VANTIK_SET_##K v) { return put(M::Name, v, e, j); }
#define VANTIK_MEMBER(Name, Setter, K, Shape, ...) VANTIK_ACCESSORS_##Shape(Name, Setter, K)
#include "model/InstrumentMembers.def"
#undef VANTIK_MEMBER
#undef VANTIK_ACCESSORS_D0
#undef VANTIK_ACCESSORS_D1
#undef VANTIK_ACCESSORS_D2
#undef VANTIK_GET_Int16
#undef VANTIK_GET_Int32
#undef VANTIK_GET_Int64
#undef VANTIK_GET_Single
#undef VANTIK_GET_Bool
#undef VANTIK_GET_Text
#undef VANTIK_GET_Date
#undef VANTIK_SET_Int16
#undef VANTIK_SET_Int32
#undef VANTIK_SET_Int64
#undef VANTIK_SET_Single
#undef VANTIK_SET_Bool
#undef VANTIK_SET_Text
#undef VANTIK_SET_Date

    // ---- Change_ flags: get, and set directly (a direct set stores only the flag)
#define VANTIK_FLAG_D0(Name)                                                                   \
    bool Name() const { return flag(F::Name); }                                                \
    void set##Name(bool v) { setFlag(F::Name, v); }
#define VANTIK_FLAG_D1(Name)                                                                   \
    bool Name(int i) const { return flag(F::Name, i); }                                        \
    void set##Name(int i, bool v) { setFlag(F::Name, v, i); }
#define VANTIK_FLAG_D2(Name)                                                                   \
    bool Name(int e, int j) const { return flag(F::Name, e, j); }                              \
    void set##Name(int e, int j, bool v) { setFlag(F::Name, v, e, j); }
#define VANTIK_FLAG(Name, Shape, ...) VANTIK_FLAG_##Shape(Name)
#include "model/InstrumentMembers.def"
#undef VANTIK_FLAG
#undef VANTIK_FLAG_D0
#undef VANTIK_FLAG_D1
#undef VANTIK_FLAG_D2

private:
    // The typed access behind the named accessors.
    template <typename T>
    T get(M m, int i = 0, int j = 0) const
    {
        if constexpr (std::is_same_v<T, QString>)
            return text(m, i, j);
        else if constexpr (std::is_same_v<T, QDateTime>)
            return date(m, i, j);
        else if constexpr (std::is_same_v<T, bool>)
            return number(m, i, j) != 0;
        else
            return T(number(m, i, j));
    }
    bool put(M m, const QString &v, int i = 0, int j = 0) { return setText(m, v, i, j); }
    bool put(M m, const QDateTime &v, int i = 0, int j = 0) { return setDate(m, v, i, j); }
    bool put(M m, bool v, int i = 0, int j = 0) { return setNumber(m, v ? -1.0 : 0.0, i, j); }
    bool put(M m, int v, int i = 0, int j = 0) { return setNumber(m, double(v), i, j); }
    bool put(M m, qint64 v, int i = 0, int j = 0) { return setNumber(m, double(v), i, j); }
    bool put(M m, float v, int i = 0, int j = 0) { return setNumber(m, double(v), i, j); }

    struct Slot {
        std::vector<double> num; // numeric kinds
        std::vector<QString> txt;
        std::vector<QDateTime> dat;
    };
    int slotIndex(M m, int i, int j, bool write) const; // -1: outside (error recorded if so)
    void stored(M m, int k, int i, int j); // after a value went into slot k
    void raise(M m, int i, int j);
    void refuse(const QString &what) const;

    std::array<Slot, size_t(M::Count)> m_members;
    std::array<std::vector<bool>, size_t(F::Count)> m_flags;
    std::set<uint32_t> m_unread; // member id << 16 | slot; empty after every whole read
    int m_deviceDepth = 0;
    mutable QString m_lastError;
};
