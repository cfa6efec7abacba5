#pragma once
#include <QString>
#include <QStringList>
#include <functional>

// Message boxes with the classic button/icon codes, through one service so
// tests can answer them in order and see what was asked.
namespace vb {
enum MsgBoxStyle : int {
    OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5,
    Critical = 16, Question = 32, Exclamation = 48, Information = 64,
    DefaultButton1 = 0, DefaultButton2 = 256, DefaultButton3 = 512,
};
enum MsgBoxResult : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
}

struct MsgBoxCall {
    QString prompt;
    int style = 0;
    QString title;
    int buttons() const { return style & 7; }
    int icon() const { return style & 0x70; }
    int defaultButton() const { return style & 0x300; }
};

// Shows the box (or asks the installed responder) and returns a vb::MsgBoxResult.
int MsgBox(const QString &prompt, int style = vb::OKOnly, const QString &title = QString());

// A responder replaces the real dialog; it gets every call and returns the answer.
using MsgBoxResponder = std::function<int(const MsgBoxCall &)>;
void SetMsgBoxResponder(MsgBoxResponder responder);

// Test helper: answers in order from a queue (OK / the default button when empty)
// and records every call. Installs itself while alive.
class ScriptedMsgBox {
public:
    explicit ScriptedMsgBox(QList<int> answers = {});
    ~ScriptedMsgBox();
    void push(int answer) { m_answers.append(answer); }
    const QList<MsgBoxCall> &calls() const { return m_calls; }
    QStringList prompts() const;
    void clear() { m_calls.clear(); }
private:
    QList<int> m_answers;
    QList<MsgBoxCall> m_calls;
};
