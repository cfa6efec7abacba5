#pragma once
#include <QWidget>

// A small round lamp with a face and a border colour (R + G*256 + B*65536).
class StatusLamp : public QWidget {
    Q_OBJECT
public:
    explicit StatusLamp(QWidget *parent = nullptr);
    int FillColor() const { return m_fill; }
    int BorderColor() const { return m_border; }
    // Both at once, as the colour pairs of the forms hold them.
    void setColors(int fill, int border);
    QSize sizeHint() const override { return {16, 16}; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    int m_fill = 0xA0A0A0;
    int m_border = 0x808080;
};
