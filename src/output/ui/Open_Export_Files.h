#pragma once

#include "ui_Open_Export_Files.h"

#include <QDialog>

// The export-finished panel: what was written and where, with the offer to open it.
class Open_Export_Files : public QDialog
{
    Q_OBJECT

public:
    explicit Open_Export_Files(QWidget *parent = nullptr);

    Ui::Open_Export_Files ui;

    // Shows `path` and `message` and runs the panel.
    void open(const QString &path, const QString &message);

    // OK opens the file or folder when the box is ticked; Cancel opens nothing. Both tick the
    // box again for next time.
    void OKPressed();
    void CancelPressed();
};
