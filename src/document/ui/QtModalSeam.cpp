#include "document/ui/QtModalSeam.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QPushButton>

int QtModalSeam::showMessage(QWidget *parent, const Message &message)
{
    QMessageBox box(message.icon, message.title, message.text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> buttons;
    for (const QString &text : message.buttons)
        buttons.append(box.addButton(text, QMessageBox::AcceptRole));
    if (message.defaultButton >= 0 && message.defaultButton < buttons.size())
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.at(message.defaultButton)));
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

int QtModalSeam::execDialog(QDialog *dialog)
{
    return dialog->exec();
}

QString QtModalSeam::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                  const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString QtModalSeam::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                  const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString QtModalSeam::existingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

bool QtModalSeam::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
