#include "editor/ui/Insert_Template.h"

#include "dialogs/ui/UiUtilities.h"
#include "dialogs/ui/SharedWindow.h"
#include "document/DocumentGlobals.h"
#include "dialogs/ui/ModalSeam.h"
#include "editor/EditorGlobals.h"

#include <QDir>
#include <QFile>

Insert_Template::Insert_Template(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    connect(ui.insert_ok_btn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui.insert_cancel_btn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui.template_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

Insert_Template *Insert_Template::defaultInstance()
{
    return sharedWindow<Insert_Template>();
}

QStringList Insert_Template::readEntries(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList entries;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString entry = line.trimmed();
        if (!entry.isEmpty())
            entries.append(entry);
    }
    return entries;
}

int Insert_Template::Open_Template_Dialog()
{
    const bool titles = title_or_msg == QLatin1String("T");
    setWindowTitle(titles ? tr("Insert Title") : tr("Insert Message"));
    ui.insert_title->setText(titles ? tr("Choose a title") : tr("Choose a message"));
    ui.template_list->clear();
    ui.template_list->addItems(
        readEntries(QDir(Resource_Path).filePath(titles ? QStringLiteral("Title.txt") : QStringLiteral("Message.txt"))));
    if (ui.template_list->count() > 0)
        ui.template_list->setCurrentRow(0);

    if (ModalSeam::instance().execDialog(this) != QDialog::Accepted)
        return 0;
    const QListWidgetItem *chosen = ui.template_list->currentItem();
    if (!chosen)
        return 0;
    Template_Msg_Val = chosen->text();
    return 1;
}
