#include "dialogs/ui/SavePath.h"

#include "dialogs/ui/ModalSeam.h"

#include <QCoreApplication>
#include <QFileInfo>

QString SavePath::withExtension(const QString &chosen, const QString &extension)
{
    if (chosen.isEmpty() || extension.isEmpty()
        || chosen.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive))
        return chosen;
    return chosen + QLatin1Char('.') + extension;
}

bool SavePath::mayReplace(const QString &path, QWidget *parent)
{
    ModalSeam::Message question;
    question.icon = QMessageBox::Question;
    question.title = QCoreApplication::applicationName();
    question.text = QStringLiteral("\"%1\" already exists. Do you want to replace it?").arg(QFileInfo(path).fileName());
    question.buttons = {QStringLiteral("Yes"), QStringLiteral("No")};
    question.defaultButton = 1;   // a slip of the Enter key keeps the file
    return ModalSeam::instance().showMessage(parent, question) == 0;
}

bool SavePath::mayWrite(const QStringList &files, const QString &askedPath, QWidget *parent)
{
    for (const QString &file : files)
        if (file != askedPath && QFileInfo::exists(file) && !mayReplace(file, parent))
            return false;
    return true;
}

QString SavePath::choose(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                         const QString &extension)
{
    const QString chosen = ModalSeam::instance().saveFileName(parent, caption, dir, filter);
    if (chosen.isEmpty())
        return {};
    const QString path = withExtension(chosen, extension);
    return mayWrite({path}, chosen, parent) ? path : QString();
}
