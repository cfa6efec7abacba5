#include "platform/CommonDialog.h"
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace {
CommonDialogResponder gResponder;
}

QStringList CommonDialog::NameFilters(const QString &filter)
{
    QStringList parts = filter.split(QLatin1Char('|'));
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i].trimmed();
        QString pat = parts[i + 1].trimmed();
        pat.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses: say them there once.
        if (desc.contains(QLatin1Char('(')))
            desc = desc.left(desc.lastIndexOf(QLatin1Char('('))).trimmed();
        out << QStringLiteral("%1 (%2)").arg(desc, pat);
    }
    return out;
}

QString CommonDialog::ErrDescription() const
{
    return m_err == fdlg::CancelErrorNumber ? QStringLiteral("Cancel was selected.") : QString();
}

bool CommonDialog::ShowOpen() { return show(false); }
bool CommonDialog::ShowSave() { return show(true); }

bool CommonDialog::show(bool save)
{
    m_err = 0;
    const CommonDialogCall call{save, DialogTitle, Filter, FilterIndex, Flags, FileName, InitDir};
    std::optional<CommonDialogAnswer> answer;
    if (gResponder) {
        answer = gResponder(call);
    } else {
        const QStringList filters = NameFilters(Filter);
        QFileDialog dlg(QApplication::activeWindow(), DialogTitle);
        dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(save ? QFileDialog::AnyFile : ((Flags & fdlg::FileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
        if (save && !(Flags & fdlg::OverwritePrompt))
            dlg.setOption(QFileDialog::DontConfirmOverwrite);
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            const int idx = (FilterIndex >= 1 && FilterIndex <= filters.size()) ? FilterIndex - 1 : 0;
            dlg.selectNameFilter(filters[idx]);
        }
        if (!DefaultExt.isEmpty())
            dlg.setDefaultSuffix(DefaultExt);
        if (!InitDir.isEmpty())
            dlg.setDirectory(InitDir);
        if (!FileName.isEmpty())
            dlg.selectFile(FileName);
        if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
            answer = CommonDialogAnswer{dlg.selectedFiles().first(), int(filters.indexOf(dlg.selectedNameFilter())) + 1};
    }
    if (!answer || answer->fileName.isEmpty()) {
        if (CancelError)
            m_err = fdlg::CancelErrorNumber;
        return false;
    }
    // An open that must find the file refuses a missing one, scripted or not.
    if (!save && (Flags & fdlg::FileMustExist) && !QFileInfo::exists(answer->fileName)) {
        if (CancelError)
            m_err = fdlg::CancelErrorNumber;
        return false;
    }
    FileName = answer->fileName;
    if (answer->filterIndex > 0)
        FilterIndex = answer->filterIndex;
    return true;
}

void SetCommonDialogResponder(CommonDialogResponder responder) { gResponder = std::move(responder); }

ScriptedCommonDialog::ScriptedCommonDialog()
{
    SetCommonDialogResponder([this](const CommonDialogCall &c) -> std::optional<CommonDialogAnswer> {
        m_calls.append(c);
        if (m_answers.isEmpty())
            return std::nullopt;
        return m_answers.takeFirst();
    });
}

ScriptedCommonDialog::~ScriptedCommonDialog() { SetCommonDialogResponder({}); }
