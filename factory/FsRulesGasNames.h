#pragma once
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

class clsInstrument;

// Rules of the gas-name grids: vfgGasName (one row per channel 0..6) and vfgGasNameOther
// (the catalytic and the thermal-conductivity other gas), and the part of OK that applies
// them. Plain functions over texts; nothing is stored while deciding.
namespace FsGasNames {

using Texts = QVector<QStringList>; // cell texts, row by row

// vfgGasName: 8 rows x 4 columns; vfgGasNameOther: 3 rows x 6 columns.
constexpr int kNameRows = 8, kNameCols = 4;
constexpr int kOtherRows = 3, kOtherCols = 6;
enum Col : int { ColCaption = 0, ColName = 1, ColLongName = 2, ColScale = 3, ColFactor = 4, ColEV = 5 };
constexpr int kCatRow = 1; // of both grids
constexpr int kTcRow = 2;  // of vfgGasNameOther

// Gas types the grids tell apart.
constexpr int kCatalytic = 0, kPid = 5, kThermal = 6, kEmptySlot = 16;

// Texts of both grids as the fill shows them, and which cells are grey (never edited).
struct Fill {
    Texts names;             // vfgGasName
    QVector<QVector<bool>> namesGrey;
    Texts other;             // vfgGasNameOther
    QVector<QVector<bool>> otherGrey;
};
Fill FillTexts(const clsInstrument &inst);

// What an edit comes to: accepted or refused, with the text to store and whether the
// cell is to be painted (red for a refusal, white for an accepted value).
struct CellEdit {
    bool accept = false;
    QString text;
    bool paint = false;
};

// vfgGasName ValidateEdit of (row, col) on a channel of gas type gasType. An empty name or
// long name passes as it is; an empty ratio or full scale is refused (OK could not
// convert it).
CellEdit ValidateName(int row, int col, int gasType, const QString &text);
// vfgGasNameOther ValidateEdit: names, the catalytic ratio (10000..150000, to thousands
// below 50000, to ten thousands from there), the thermal-conductivity full scale (10..100
// to tens, "#0.0"), the catalytic factor (0..25, "0.00").
CellEdit ValidateOther(int row, int col, const QString &text);
// The colour rule of a name or long name cell (column 1 or 2) of vfgGasName (other false;
// gasType the row's channel's) or vfgGasNameOther (other true). given is what the fill of
// the instrument's record shows there: a text still as given is nobody's entry and goes
// back as it came, whatever it holds; any other text (typed, picked, loaded) is refused
// when the cell's entry check would not take it as it stands.
bool NameCellRefused(bool other, int row, int col, int gasType, const QString &text, const QString &given);
// The entry check of that cell takes text as it stands (what a load or an import of it
// would not mark).
bool NameCellAcceptable(bool other, int row, int col, int gasType, const QString &text);
// A name or long name left as the instrument gave it (given) is nobody's entry: accepted as
// it stands, whatever the cell's check e said; any other edit keeps e.
CellEdit KeptAsGiven(CellEdit e, int col, const QString &text, const QString &given);
// vfgGasNameOther key filter of the name (3 capitals) and long name (20 characters)
// columns: the key to let through, or 0 to drop it (with a beep).
int FilterOtherKey(int col, int key, int textLength);

// Entry k of a "|"-separated list, "" outside it.
QString ListEntry(const QString &list, int k);

// The cells that follow a name chosen from the list at position k (-1: typed, in no list)
// on a channel of gas type t. Unset parts are left as they are: a name typed outside the
// list changes no companion cell.
struct Companions {
    std::optional<QString> longName;
    bool longNameRefused = false;    // the copy breaks the long-name rule: marked, OK waits
    std::optional<QString> scale;
    std::optional<float> desit;      // GasDesit of the channel (thermal conductivity)
    std::optional<int> catOtherSelect;
};
// pidLongNames: the long names of the low-range PID grid, row 1 first. other: the
// texts of vfgGasNameOther.
Companions CompanionsFor(int t, int k, const Texts &other, const QStringList &pidLongNames);

// vfgGasName BeforeEdit of (row, col) on a channel of gas type t: std::nullopt refuses
// the edit, otherwise the editor's list (empty: free text; a name cell offers the catalytic,
// PID or thermal-conductivity names, the other gas last, and takes typed text as well).
// A list, not a "|"-joined text: a name from the instrument may hold "|".
std::optional<QStringList> BeforeName(int row, int col, int t, bool grey, bool invalidGN, const Texts &other,
                                      const QStringList &pidNames);
// vfgGasNameOther BeforeEdit: std::nullopt refuses; otherwise the editor's list.
std::optional<QString> BeforeOther(int row, int col, bool grey, const clsInstrument &inst);

// OK, in this order; a member is written only when the grid's value differs. shown is what
// the fill showed (FillTexts of the record the grids were filled from): a cell that still
// shows it writes nothing, whatever the record holds behind it.
// The gas names of channels 0 and 4..6 (1..3 are fixed), with the derived values of a
// thermal-conductivity channel.
void ApplyChannelNames(clsInstrument &inst, const Texts &names, const Fill &shown);

// The CAT range points a rename of channel 0 derives from its alarm points at the ratio
// text; a "not set" or "no value" point gives the same state. Nothing when a point does
// not fit its field (the rename is then refused).
struct CatPoints {
    qint64 ppm1st = 0, ppm2nd = 0;
    float vol1st = 0, vol2nd = 0;
};
std::optional<CatPoints> Channel0CatPoints(const clsInstrument &inst, const QString &ratioText);
// True when channel 0's name cell, showing name, renames the channel (the mirror runs).
bool Channel0Renamed(const clsInstrument &inst, const QString &name, const Fill &shown);
// Channels 7 and 8 take channel 0's new name and the CAT range points are recomputed.
// False, writing nothing, when the points do not fit.
bool ApplyChannel0Mirror(clsInstrument &inst, const Texts &names, const Fill &shown);
// The other gases, the long names G1_, the ratios FL_ and CATOtherEV.
void ApplyOtherNames(clsInstrument &inst, const Texts &names, const Texts &other, const Fill &shown);
// All three; false as ApplyChannel0Mirror.
bool ApplyGasNames(clsInstrument &inst, const Texts &names, const Texts &other, const Fill &shown);

} // namespace FsGasNames
