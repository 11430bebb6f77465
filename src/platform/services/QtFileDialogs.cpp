#include "QtServices.h"

#include "ArrowWhileAsking.h"

#include <QDir>
#include <QFileDialog>

namespace platform {

QStringList qtNameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1].trimmed();
        if (pattern.isEmpty())
            continue;
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString text = parts[i].trimmed().isEmpty() ? pattern : parts[i];
        result << QStringLiteral("%1 (%2)").arg(text, pattern);
    }
    return result;
}

namespace {

std::optional<QString> run(const FileDialogRequest &request, QWidget *owner, bool open)
{
    QFileDialog dialog(owner, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!open)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // The program's file names come from a system that ignores case ("VOVURIV.MDB").
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);

    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (!request.defaultExt.isEmpty())
        dialog.setDefaultSuffix(request.defaultExt);
    if (!request.initDir.isEmpty())
        dialog.setDirectory(QDir::fromNativeSeparators(request.initDir));
    if (!request.fileName.isEmpty())
        dialog.selectFile(QDir::fromNativeSeparators(request.fileName));
    dialog.setWindowModality(Qt::ApplicationModal);

    const ArrowWhileAsking arrow;
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(chosen.first());
}

} // namespace

std::optional<QString> QtFileDialogs::open(const FileDialogRequest &request, QWidget *owner)
{
    return run(request, owner, true);
}

std::optional<QString> QtFileDialogs::save(const FileDialogRequest &request, QWidget *owner)
{
    return run(request, owner, false);
}

} // namespace platform
