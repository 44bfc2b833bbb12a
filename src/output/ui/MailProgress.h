#pragma once

#include "ui_MailProgress.h"

#include <QDialog>

#include <atomic>

// The progress sheet of a mail run: total, current mail, bar, pause countdown and Stop.
class MailProgress : public QDialog
{
    Q_OBJECT

public:
    explicit MailProgress(QWidget *parent = nullptr);

    Ui::MailProgress ui;

    // Sets the sheet up for a run of `total` mails whose stop request is `stop`.
    void begin(int total, std::atomic<bool> *stop);
    void showCount(int current, int total);
    void end();

    // Asks, then raises the run's stop request.
    void Stop_Sending_Pressed();

protected:
    void reject() override {}

private:
    std::atomic<bool> *m_stop = nullptr;
};
