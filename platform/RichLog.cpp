#include "platform/RichLog.h"
#include "platform/Twips.h"
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace {
// Document offsets count a line break as one character, Text() as two (CR LF).
int docToText(const QTextDocument *doc, int pos)
{
    return pos + doc->findBlock(pos).blockNumber();
}
int textToDoc(const QTextDocument *doc, int pos)
{
    int acc = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const int len = b.length() - 1; // without the break
        if (pos <= acc + len)
            return b.position() + (pos - acc);
        acc += len + 2;
        if (pos < acc)
            return b.position() + len + 1; // inside the CR LF pair: after it
    }
    return doc->characterCount() - 1;
}
} // namespace

RichLog::RichLog(QWidget *parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    // Keep the caret visible and movable so the user may select and copy.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void RichLog::setSelText(const QString &text)
{
    QTextCursor c = textCursor();
    QTextCharFormat f;
    f.setForeground(ColorFromRgb(m_selColor));
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    c.insertText(t, f);
    setTextCursor(c);
}

int RichLog::SelStart() const
{
    return docToText(document(), textCursor().selectionStart());
}

void RichLog::setSelStart(int pos)
{
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(textToDoc(document(), std::max(0, pos)), 0, document()->characterCount() - 1));
    setTextCursor(c);
}

QString RichLog::Text() const
{
    QString t = toPlainText();
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

void RichLog::AddLine(const QString &text, int rgb)
{
    setSelColor(rgb);
    setSelText(text + QStringLiteral("\r\n"));
    setSelStart(TextLength());
    ensureCursorVisible();
}

int RichLog::ColorAt(int pos) const
{
    if (pos < 0 || pos >= TextLength())
        return -1;
    const int d = textToDoc(document(), pos);
    QTextCursor c(document());
    c.setPosition(d);
    c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    return RgbFromColor(c.charFormat().foreground().color());
}
