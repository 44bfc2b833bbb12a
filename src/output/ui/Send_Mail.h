#pragma once

#include "ui_Send_Mail.h"

#include <QDialog>
#include <QTimer>

#include <memory>

class MailCardSource;
class MailRun;
class QButtonGroup;
class QTemporaryDir;
class QThread;
class Send_Modeless;

// The send window: e-mails the card being designed (one or both sides), one card per data
// record, or a mail with a file of the user's choice, to a comma-separated list of
// recipients. Everything a run needs is taken at Send; one worker thread sends the mails
// behind the progress sheet, whose Stop ends the run.
class Send_Mail : public QDialog
{
    Q_OBJECT

public:
    explicit Send_Mail(QWidget *parent = nullptr);
    ~Send_Mail() override;
    static Send_Mail *defaultInstance();

    Ui::Send_Mail ui;
    QButtonGroup *matrix_card_side = nullptr;   // row 0 both sides, 1 front, 2 back
    QString card_side_str = QStringLiteral("F");

    // Opens the window modally on the cards of `source` (not owned; lives while the window runs).
    void Open_Wnd(MailCardSource *source);
    // Sets every control to its opening state.
    void resetControls();

    void Close_Button();
    void Setting_Button();
    void Send_Button();
    void send_barcode_rd_select();
    void Without_barcode_rd_select();
    void send_with_batch_chk_select();
    void send_with_excel_chk_select();
    void all_rd_select();
    void obo_rd_select();
    void delayed_delv_chk_select();
    void mail_card_side_CellClick(int row);
    void browse_att_Button();
    void clear_att_Button();

    void Show_Create_Modeless();
    void Hide_Destroy_Modeless();
    // Writes the pause text for `ms` milliseconds into the progress sheet.
    void Calculate_Pause_Time(qint64 ms);

    void setCardSource(MailCardSource *source) { m_source = source; }
    bool isRunning() const { return m_running; }
    Send_Modeless *progressSheet() const;
    // How long one mail may take; 0 leaves the transport's default.
    void setMailTimeLimitMs(qint64 ms) { m_timeLimitMs = ms; }

protected:
    void reject() override;

private:
    void distributionEnabled();
    void pauseStarted();
    void update_pause_timer_label();
    void finishRun();

    MailCardSource *m_source = nullptr;
    bool m_useSeries = false;
    bool m_useSpreadsheet = false;
    bool m_running = false;
    bool m_batchRun = false;
    qint64 m_timeLimitMs = 0;
    std::unique_ptr<MailRun> m_run;
    std::unique_ptr<QTemporaryDir> m_folder;
    QThread *m_worker = nullptr;
    QTimer m_progressTimer;
    QTimer m_pauseTimer;
};
