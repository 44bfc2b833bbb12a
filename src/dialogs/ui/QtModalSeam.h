#pragma once

#include "dialogs/ui/ModalSeam.h"

// The real seam: Qt's message boxes, QDialog::exec, QFileDialog and QDesktopServices.
class QtModalSeam : public ModalSeam
{
public:
    int showMessage(QWidget *parent, const Message &message) override;
    int execDialog(QDialog *dialog) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileNameWithFilter(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filters, QString *selectedFilter) override;
    QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir) override;
    bool openUrl(const QUrl &url) override;
};
