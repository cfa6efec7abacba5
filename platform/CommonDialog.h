#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The file open / save dialog of the forms, with the classic members. Goes through
// one service so tests answer it in order and see what was asked.
namespace fdlg {
enum Flags : int {
    OverwritePrompt = 2,      // ask before replacing an existing file (save)
    HideReadOnly = 4,
    NoChangeDir = 8,
    PathMustExist = 2048,
    FileMustExist = 4096,     // open: only an existing file
};
constexpr int CancelErrorNumber = 32755;
}

struct CommonDialogCall {
    bool save = false;
    QString title;
    QString filter;
    int filterIndex = 0;
    int flags = 0;
    QString fileName;
    QString initDir;
};

class CommonDialog {
public:
    // "description|pattern|description|pattern|" (a trailing "|" is allowed;
    // several patterns of one entry are separated by ";").
    QString Filter;
    int FilterIndex = 0;   // 1-based; 0 or out of range: the first entry
    int Flags = 0;
    bool CancelError = false;
    QString FileName;
    QString DialogTitle;
    QString InitDir;
    QString DefaultExt;

    // True when a file was chosen (FileName and FilterIndex then hold the choice).
    // On cancel: false, FileName unchanged, and with CancelError set Err() reports 32755.
    bool ShowOpen();
    bool ShowSave();

    // The error of the last Show (0 none).
    int ErrNumber() const { return m_err; }
    QString ErrDescription() const;

    // Filter entries as Qt name filters, e.g. "Config Data (*.seq)"; pattern lists use spaces.
    static QStringList NameFilters(const QString &filter);

private:
    bool show(bool save);
    int m_err = 0;
};

// A responder replaces the real dialog: it gets each call and returns the chosen
// file name (with the filter index it picked, 1-based, or 0 to keep it), or nothing for Cancel.
struct CommonDialogAnswer {
    QString fileName;
    int filterIndex = 0;
};
using CommonDialogResponder = std::function<std::optional<CommonDialogAnswer>(const CommonDialogCall &)>;
void SetCommonDialogResponder(CommonDialogResponder responder);

// Test helper: answers in order (an empty queue answers Cancel) and records every call.
class ScriptedCommonDialog {
public:
    ScriptedCommonDialog();
    ~ScriptedCommonDialog();
    void choose(const QString &fileName, int filterIndex = 0) { m_answers.append(CommonDialogAnswer{fileName, filterIndex}); }
    void cancel() { m_answers.append(std::nullopt); }
    const QList<CommonDialogCall> &calls() const { return m_calls; }
private:
    QList<std::optional<CommonDialogAnswer>> m_answers;
    QList<CommonDialogCall> m_calls;
};
