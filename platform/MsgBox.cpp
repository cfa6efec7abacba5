#include "platform/MsgBox.h"
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
MsgBoxResponder gResponder;

int defaultAnswer(const MsgBoxCall &c)
{
    static const int first[] = {vb::OK, vb::OK, vb::Abort, vb::Yes, vb::Yes, vb::Retry};
    static const int second[] = {vb::OK, vb::Cancel, vb::Retry, vb::No, vb::No, vb::Cancel};
    static const int third[] = {vb::OK, vb::Cancel, vb::Ignore, vb::Cancel, vb::No, vb::Cancel};
    const int b = c.buttons() % 6;
    switch (c.defaultButton()) {
    case vb::DefaultButton2: return second[b];
    case vb::DefaultButton3: return third[b];
    default: return first[b];
    }
}

int showReal(const MsgBoxCall &c)
{
    QMessageBox box(QApplication::activeWindow());
    box.setText(c.prompt);
    box.setWindowTitle(c.title.isEmpty() ? QApplication::applicationName() : c.title);
    switch (c.icon()) {
    case vb::Critical: box.setIcon(QMessageBox::Critical); break;
    case vb::Question: box.setIcon(QMessageBox::Question); break;
    case vb::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case vb::Information: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct B { QMessageBox::StandardButton sb; int result; };
    QList<B> buttons;
    switch (c.buttons()) {
    case vb::OKCancel: buttons = {{QMessageBox::Ok, vb::OK}, {QMessageBox::Cancel, vb::Cancel}}; break;
    case vb::AbortRetryIgnore: buttons = {{QMessageBox::Abort, vb::Abort}, {QMessageBox::Retry, vb::Retry}, {QMessageBox::Ignore, vb::Ignore}}; break;
    case vb::YesNoCancel: buttons = {{QMessageBox::Yes, vb::Yes}, {QMessageBox::No, vb::No}, {QMessageBox::Cancel, vb::Cancel}}; break;
    case vb::YesNo: buttons = {{QMessageBox::Yes, vb::Yes}, {QMessageBox::No, vb::No}}; break;
    case vb::RetryCancel: buttons = {{QMessageBox::Retry, vb::Retry}, {QMessageBox::Cancel, vb::Cancel}}; break;
    default: buttons = {{QMessageBox::Ok, vb::OK}}; break;
    }
    for (const B &b : buttons)
        box.addButton(b.sb);
    const int def = c.defaultButton() == vb::DefaultButton2 ? 1 : c.defaultButton() == vb::DefaultButton3 ? 2 : 0;
    if (def < buttons.size())
        box.setDefaultButton(buttons[def].sb);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const B &b : buttons)
        if (b.sb == clicked)
            return b.result;
    // Closed with Escape or the window button: the cancel-like answer.
    return buttons.size() == 1 ? vb::OK : buttons.last().result;
}
} // namespace

int MsgBox(const QString &prompt, int style, const QString &title)
{
    const MsgBoxCall call{prompt, style, title};
    if (gResponder)
        return gResponder(call);
    return showReal(call);
}

void SetMsgBoxResponder(MsgBoxResponder responder) { gResponder = std::move(responder); }

ScriptedMsgBox::ScriptedMsgBox(QList<int> answers) : m_answers(std::move(answers))
{
    SetMsgBoxResponder([this](const MsgBoxCall &c) {
        m_calls.append(c);
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        return defaultAnswer(c);
    });
}

ScriptedMsgBox::~ScriptedMsgBox() { SetMsgBoxResponder({}); }

QStringList ScriptedMsgBox::prompts() const
{
    QStringList out;
    for (const auto &c : m_calls)
        out << c.prompt;
    return out;
}
