#include "QtServices.h"

#include "ArrowWhileAsking.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

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

// The toolkit's dialog reads double quotes in its name box as the marks around several names
// ("a" "b") and keeps only what stands between them, also where one file is to be chosen:
// `my "best" copy.mdb` would be `best`, `copy 12" disk.mdb` would be ` disk.mdb`. These dialogs
// choose one file, so a name with quotes in it is taken whole, as typed; a name without quotes
// keeps the toolkit's own handling.
class OneFileDialog : public QFileDialog
{
public:
    OneFileDialog(QWidget *owner, const QString &title) : QFileDialog(owner, title)
    {
        setOption(QFileDialog::DontUseNativeDialog);
        mNameBox = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        // Connected after the toolkit's own handler, which finds no name in `12"` and disables
        // the button; this runs after it on every change of the text.
        if (mNameBox)
            connect(mNameBox, &QLineEdit::textChanged, this, [this] { enableAcceptForQuotes(); });
    }

    // The chosen file once the dialog was accepted.
    QString chosen() const
    {
        if (!mChosen.isEmpty())
            return mChosen;
        const QStringList files = selectedFiles();
        return files.isEmpty() ? QString() : files.first();
    }

    void accept() override
    {
        const QString path = wholeName();
        if (path.isEmpty()) {
            QFileDialog::accept();
            return;
        }
        const QFileInfo info(path);
        if (info.isDir()) {
            setDirectory(path);
            mNameBox->clear();
            return;
        }
        if (fileMode() == QFileDialog::ExistingFile && !info.exists()) {
            QMessageBox::warning(this, windowTitle(),
                                 QFileDialog::tr("%1\nFile not found.\nPlease verify the "
                                                 "correct file name was given.")
                                     .arg(info.fileName()));
            return;
        }
        mChosen = path;
        QDialog::accept();
    }

private:
    // The full path of the name box's text taken as one name; empty when the text has no quote
    // in it (or names nothing).
    QString wholeName() const
    {
        if (!mNameBox || !mNameBox->text().contains(QLatin1Char('"')))
            return QString();
        QString name = mNameBox->text();
        if (name == QLatin1String("~") || name.startsWith(QLatin1String("~/")))
            name = QDir::homePath() + name.mid(1);
        QString path = QDir::cleanPath(directory().absoluteFilePath(name));
        const QFileInfo info(path);
        if (!defaultSuffix().isEmpty() && !info.isDir() && !info.fileName().contains(u'.'))
            path += QLatin1Char('.') + defaultSuffix();
        return path == directory().absolutePath() ? QString() : path;
    }

    void enableAcceptForQuotes()
    {
        if (wholeName().isEmpty())
            return;
        if (auto *buttons = findChild<QDialogButtonBox *>())
            for (QAbstractButton *button : buttons->buttons())
                if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                    button->setEnabled(true);
    }

    QLineEdit *mNameBox = nullptr;
    QString mChosen;
};

std::optional<QString> run(const FileDialogRequest &request, QWidget *owner, bool open)
{
    OneFileDialog dialog(owner, request.title);
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
    const QString chosen = dialog.chosen();
    if (chosen.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(chosen);
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
