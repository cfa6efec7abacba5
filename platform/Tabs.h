#pragma once
#include <QTabWidget>
#include <QWidget>

class QLineEdit;
class QToolButton;

// Tabs with the members the forms use: the current tab by number and the captions.
class TabControl : public QTabWidget {
    Q_OBJECT
public:
    using QTabWidget::QTabWidget;
    int Tab() const { return currentIndex(); }
    void setTab(int index) { if (index >= 0 && index < count()) setCurrentIndex(index); }
    int Tabs() const { return count(); }
    QString TabCaption(int index) const { return tabText(index); }
    void setTabCaption(int index, const QString &caption) { setTabText(index, caption); }
    bool TabEnabled(int index) const { return isTabEnabled(index); }
    void setTabEnabled(int index, bool on) { QTabWidget::setTabEnabled(index, on); }
};

// Up and down arrows beside a text box (the buddy): each click steps the whole
// number in the box by Increment within Min..Max and writes it back. Text that is
// not a number steps from Value(). Change() follows every step.
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget *parent = nullptr);
    void setBuddy(QLineEdit *box) { m_buddy = box; }
    QLineEdit *Buddy() const { return m_buddy; }
    int Min() const { return m_min; }
    void setMin(int v) { m_min = v; }
    int Max() const { return m_max; }
    void setMax(int v) { m_max = v; }
    int Increment() const { return m_inc; }
    void setIncrement(int v) { m_inc = std::max(1, v); }
    bool Wrap() const { return m_wrap; }
    void setWrap(bool on) { m_wrap = on; }
    int Value() const { return m_value; }
    void setValue(int v);
    // As a click on the arrows.
    void StepUp() { step(+1); }
    void StepDown() { step(-1); }
    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

signals:
    void Change();

private:
    void step(int dir);
    QLineEdit *m_buddy = nullptr;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
    int m_min = 0, m_max = 10, m_inc = 1, m_value = 0;
    bool m_wrap = false;
};
