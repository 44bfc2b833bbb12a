#include "dialogs/ui/Open_Export_Files.h"

#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"

#include <QFileInfo>
#include <QUrl>

Open_Export_Files::Open_Export_Files(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    connect(ui.export_ok_btn, &QPushButton::clicked, this, &Open_Export_Files::OKPressed);
    connect(ui.export_cancel_btn, &QPushButton::clicked, this, &Open_Export_Files::CancelPressed);
}

void Open_Export_Files::showExported(const QString &path, const QString &message)
{
    ui._open_log_chk->setText(QFileInfo(path).isDir() ? QStringLiteral("Open containing folder.")
                                                      : QStringLiteral("Open exported file."));
    ui._open_log_path->setText(path);
    ui._open_log_message->setText(message);
    ModalSeam::instance().execDialog(this);
    hide();
}

void Open_Export_Files::showFinished(const QString &path, const QString &message)
{
    static Open_Export_Files *panel = new Open_Export_Files;
    panel->showExported(path, message);
}

void Open_Export_Files::OKPressed()
{
    const QString path = ui._open_log_path->text();
    if (ui._open_log_chk->isChecked() && !path.isEmpty())
        Open_Address(QUrl::fromLocalFile(path));   // says so, naming the path, when nothing opens it
    ui._open_log_chk->setChecked(true);
    done(1);
}

void Open_Export_Files::CancelPressed()
{
    reject();
}

void Open_Export_Files::reject()
{
    ui._open_log_chk->setChecked(true);
    QDialog::reject();
}
