#include "editor/ui/Open_Export_Files.h"

#include "document/ui/ModalSeam.h"

#include <QFileInfo>
#include <QUrl>

Open_Export_Files::Open_Export_Files(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    connect(ui.export_ok_btn, &QPushButton::clicked, this, &QDialog::accept);
}

void Open_Export_Files::open(const QString &path, const QString &message)
{
    ui._open_log_chk->setText(QFileInfo(path).isDir() ? QStringLiteral("Open containing folder.")
                                                      : QStringLiteral("Open exported file."));
    ui._open_log_path->setText(path);
    ui._open_log_message->setText(message);
    ModalSeam::instance().execDialog(this);
    hide();
    if (ui._open_log_chk->isChecked() && !path.isEmpty())
        ModalSeam::instance().openUrl(QUrl::fromLocalFile(path));
}
