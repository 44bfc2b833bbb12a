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

    // Shows `path` and `message`, runs the panel and, when its box is ticked, opens the
    // exported file or folder in the user's program for it.
    void open(const QString &path, const QString &message);
};
