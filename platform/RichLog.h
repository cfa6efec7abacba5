#pragma once
#include <QTextEdit>

// The log pane: coloured text inserted at the insertion point, which then moves to
// the end. Lines end with CR LF in Text(); the pane shows them as line breaks.
class RichLog : public QTextEdit {
    Q_OBJECT
public:
    explicit RichLog(QWidget *parent = nullptr);

    // Colour (R + G*256 + B*65536) of text inserted from now on.
    void setSelColor(int rgb) { m_selColor = rgb & 0xFFFFFF; }
    int SelColor() const { return m_selColor; }
    // Inserts text at the insertion point in the present colour, replacing a selection.
    void setSelText(const QString &text);
    // Insertion point as a character offset in Text(); setting it clears the selection.
    int SelStart() const;
    void setSelStart(int pos);
    // The whole text with CR LF line ends.
    QString Text() const;
    int TextLength() const { return Text().size(); }
    // One log line: the text and CR LF in colour rgb, then the insertion point to the end (and into view).
    void AddLine(const QString &text, int rgb);
    // Colour of the character at offset pos of Text() (-1 outside).
    int ColorAt(int pos) const;

private:
    int m_selColor = 0;
};
