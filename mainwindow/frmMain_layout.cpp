#include "core/Messages.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/modMainWindow.h"
#include "model/Rounding.h"
#include "platform/FlexGrid.h"
#include "platform/RichLog.h"
#include "platform/StatusLamp.h"
#include "platform/Twips.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>

namespace {
int whole(double v) { return int(RoundHalfEven(v)); }
} // namespace

// The label column and equal shares for the rest, together filling the width W (a 100-twip
// auto-calibration column would hide its values). Empty for a language without a layout or a
// grid of fewer than two columns: the widths then stay as they are.
QVector<int> GasGridColumnWidths(int W, int n, const QString &lang)
{
    if (n < 2 || (lang != QLatin1String("EN") && lang != QLatin1String("JP")))
        return {};
    const double first = lang == QLatin1String("EN") ? 0.15 : 0.13;
    QVector<int> out(n, whole((1.0 - first) * W / (n - 1)));
    out[0] = whole(first * W);
    return out;
}

void frmMain::SetCaptions()
{
    setWindowTitle(GetMsg(5001) + QStringLiteral(" [P.No.") + QStringLiteral("05223") + QStringLiteral("]"));
    lblSubBoard->setText(GetMsg(5061));
    lblStatus[0]->setText(GetMsg(5022));
    lblStatus[1]->setText(GetMsg(5023));
    lblTitle->setText(GetMsg(5012));
    fraCommand[0]->setTitle(GetMsg(5035));
    fraCommand[1]->setTitle(GetMsg(5227));
    fraCommand[2]->setTitle(GetMsg(5049));
    cmdDown[1]->setText(GetMsg(5037));
    cmdDown[2]->setText(GetMsg(5038));
    cmdDown[4]->setText(GetMsg(5041));
    cmdDown[5]->setText(GetMsg(5047));
    cmdFRAMDump->setText(GetMsg(5222));
    lblSuffix->setText(GetMsg(5048));
    cmdOption[0]->setText(GetMsg(5214));
    cmdOption[1]->setText(GetMsg(5215));
    cmdOption[2]->setText(GetMsg(5216));
    cmdOption[3]->setText(GetMsg(5257));
    cmdOption[4]->setText(GetMsg(5221));
    chkFactorySave->setText(GetMsg(8040));
    cmdImportSetting->setText(GetMsg(5228));
    cmdExportSetting->setText(GetMsg(5229));
    cmdFactorySetting->setText(GetMsg(5226));
    cmdExit->setText(GetMsg(5007));
    fraTransStatus->setTitle(GetMsg(5021));
    lblInst[6]->setText(GetMsg(5056));
    lblInst[8]->setText(GetMsg(5060));
    lblOption[0]->setText(GetMsg(5209));
    lblOption[1]->setText(GetMsg(5210));
    lblOption[2]->setText(GetMsg(5211));
    lblOption[3]->setText(GetMsg(5212));
    lblOption[4]->setText(GetMsg(5213));
    lblOption[7]->setText(GetMsg(5223));
}

// Lays the window out for its present inner size (twips). Every width is kept at a
// sensible minimum so no region collapses or turns negative, whatever the size.
void frmMain::Form_Resize()
{
    if (isMinimized())
        return;
    const int SW = PixelsToTwips(width());
    const int SH = PixelsToTwips(height());

    const int h = std::max(1500, whole((SH - 450) * 0.5));
    MoveTwips(fraStatus, 150, SH - 150 - h, std::max(600, SW - 300), h);
    const int gridTop = TopTwips(vfgOption);
    MoveTwips(vfgOption, 150, gridTop, std::max(300, WidthTwips(fraStatus) - 300),
              std::max(300, h - 150 - gridTop));

    // The visible area: the grid's width less its frame and a vertical scroll bar.
    const QVector<int> widths =
        GasGridColumnWidths(std::max(300, WidthTwips(vfgOption) - 2 * 15 - 20 * 15), vfgOption->Cols(), GetMsg(101));
    for (int c = 0; c < widths.size(); ++c)
        vfgOption->setColWidth(c, widths[c]);

    int cw = whole(((SW - 900) * 0.5 - 300) / 3.0);
    if (WidthTwips(fraInCommand[0]) + 150 > cw)
        cw = whole(WidthTwips(fraInCommand[0]) + 150.0);
    const int ch = std::max(600, SH - 450 - h);
    for (int i = 2; i >= 0; --i) {
        MoveTwips(fraCommand[i], SW - (3 - i) * (cw + 150), 150, cw, ch);
        MoveTwips(fraInCommand[i], cw / 2.0 - WidthTwips(fraInCommand[i]) / 2.0, TopTwips(fraInCommand[i]));
    }

    MoveTwips(fraTransStatus, 150, 150, std::max(1500, LeftTwips(fraCommand[0]) - 300));
    for (int i = 0; i < int(shpStatus.size()); ++i) {
        // Lamps 0 and 1 at the left and in the middle; the calibration lamps share the right
        // half with them instead of landing beyond the frame's edge.
        const double share = i < 2 ? i / 2.0 : (i + 2) / 6.0;
        MoveTwips(shpStatus[i], (WidthTwips(fraTransStatus) - 300) * share + 150, 240);
        MoveTwips(lblStatus[i], LeftTwips(shpStatus[i]) + WidthTwips(shpStatus[i]) + 60, 240);
    }
    MoveTwips(lblTitle, 150, TopTwips(fraTransStatus) + HeightTwips(fraTransStatus) + 150);
    const int titleFoot = TopTwips(lblTitle) + HeightTwips(lblTitle);
    MoveTwips(rtbLog, 150, titleFoot, WidthTwips(fraTransStatus),
              std::max(300, TopTwips(fraCommand[0]) + HeightTwips(fraCommand[0]) - titleFoot));
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}
