#pragma once

#include "ui_Open_Export_Files.h"

#include <QDialog>

// The export-finished panel: what was written and where, with the offer to open it. Card
// export, printing's and the series manager's exports all end with it.
class Open_Export_Files : public QDialog
{
    Q_OBJECT

public:
    explicit Open_Export_Files(QWidget *parent = nullptr);

    Ui::Open_Export_Files ui;

    // Shows `path` and `message` and runs the panel.
    void showExported(const QString &path, const QString &message);
    // Runs the one panel of the process for what an export wrote (a file or a folder).
    static void showFinished(const QString &path, const QString &message);

    // OK opens the file or folder when the box is ticked; Cancel opens nothing. Both tick the
    // box again for next time.
    void OKPressed();
    void CancelPressed();
    // Escape and the window's close button are Cancel.
    void reject() override;
};
