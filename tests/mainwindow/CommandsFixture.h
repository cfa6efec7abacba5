#pragma once
// The main window against the simulator, with helpers for the command tests: click a
// command, answer its boxes, read the log pane, the serial log and the history file.
#include "MainFixture.h"
#include "platform/QtPrint.h"
#include "mainwindow/frmMain_commands_p.h"
#include "settingsfiles/SettingsHistory.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

class CommandsFixture : public MainFixture {
protected:
    // Starts connected; false when the link did not come up.
    bool Start(bool debug = false)
    {
        options.debugMode = debug;
        if (!StartMain())
            return false;
        // Shorter busy polls keep DEFAULT and the restore quick.
        form->uclQL7150->setBusyPollLimit(20);
        sim->setBusyPolls(1);
        return true;
    }

    // Presses a button the way a user does; the command runs to its end inside.
    void Press(QPushButton *b)
    {
        ASSERT_NE(b, nullptr);
        ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }

    void Download() { Press(form->cmdDown[1]); }

    bool HasLine(const QString &text) const { return LogLines().contains(text); }
    // The log lines without the empty ones that "~c" texts leave behind.
    QStringList Lines() const
    {
        QStringList out;
        for (const QString &l : LogLines())
            if (!l.isEmpty())
                out << l;
        return out;
    }
    static QString Line(int id, const QString &arg = QString())
    {
        return (arg.isNull() ? GetMsg(id) : GetMsg(id, arg)).remove(QStringLiteral("\r\n"));
    }
    static QString Text(const char *text, const QStringList &args = {})
    {
        return ExpandMessage(QString::fromLatin1(text), args).remove(QStringLiteral("\r\n"));
    }
    static constexpr int kGreen = frmMain::kGreen;
    static constexpr int kRed = frmMain::kRed;
    static constexpr int kBrown = frmMain::kBrown;

    // Data rows of the history file (header dropped), first field of each.
    QStringList HistoryActions() const
    {
        QFile f(HistoryFilePath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList rows = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        if (!rows.isEmpty())
            rows.removeFirst();
        QStringList actions;
        for (const QString &r : rows)
            actions << r.section(QLatin1Char(','), 0, 0);
        return actions;
    }
    QStringList HistoryRows() const
    {
        QFile f(HistoryFilePath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList rows = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        if (!rows.isEmpty())
            rows.removeFirst();
        return rows;
    }

    // Runs action once the link has sent a request starting with prefix (e.g. the nth
    // read of a download), from inside the blocking call.
    void WhenRequest(const QByteArray &prefix, std::function<void()> action, int nth = 1)
    {
        auto seen = std::make_shared<int>(0);
        auto conn = std::make_shared<QMetaObject::Connection>();
        *conn = QObject::connect(sim.get(), &SimInstrument::requestSeen, sim.get(),
                                 [=](const QByteArray &body) {
                                     if (!body.startsWith(prefix) || ++*seen != nth)
                                         return;
                                     QObject::disconnect(*conn);
                                     action();
                                 });
    }

    int Requests(const QByteArray &prefix) const
    {
        int n = 0;
        for (const QByteArray &r : sim->requests())
            n += r.startsWith(prefix) ? 1 : 0;
        return n;
    }

    QByteArray ReadFile(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};
