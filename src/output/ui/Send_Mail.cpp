#include "output/ui/Send_Mail.h"

#include "dialogs/ui/SharedWindow.h"
#include "document/MessageLog.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "output/EmailAddress.h"
#include "output/MailCardSource.h"
#include "output/MailGlobals.h"
#include "output/MailRun.h"
#include "output/MailTransport.h"
#include "output/ui/Email_Setting.h"
#include "output/OutputGlobals.h"
#include "output/ui/Send_Modeless.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>

namespace {

const QString kSettingsIncomplete = QStringLiteral(
    "Please make sure that:\n1.Entered E-mail Settings are correct.\n2.Internet Connectivity to E-mail server is not "
    "interrupted and E-mail server is not down.\n3.Your firewall or security software(if any) is not blocking the "
    "software to communicate with your E-mail server.");
const QString kBadFileName = QStringLiteral("Please enter valid file name.");

} // namespace

Send_Mail::Send_Mail(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);

    matrix_card_side = new QButtonGroup(this);
    matrix_card_side->addButton(ui.side_both, 0);
    matrix_card_side->addButton(ui.side_front, 1);
    matrix_card_side->addButton(ui.side_back, 2);
    connect(matrix_card_side, &QButtonGroup::idClicked, this, &Send_Mail::mail_card_side_CellClick);

    connect(ui.close_btn, &QPushButton::clicked, this, &Send_Mail::Close_Button);
    connect(ui.settings_btn, &QPushButton::clicked, this, &Send_Mail::Setting_Button);
    connect(ui.send_btn, &QPushButton::clicked, this, &Send_Mail::Send_Button);
    connect(ui.rd_mail_curr_barcode, &QRadioButton::clicked, this, &Send_Mail::send_barcode_rd_select);
    connect(ui.rd_without_barcode, &QRadioButton::clicked, this, &Send_Mail::Without_barcode_rd_select);
    connect(ui.send_with_batch_chk, &QCheckBox::clicked, this, &Send_Mail::send_with_batch_chk_select);
    connect(ui.send_with_excel_chk, &QCheckBox::clicked, this, &Send_Mail::send_with_excel_chk_select);
    connect(ui.rd_all_to_every, &QRadioButton::clicked, this, &Send_Mail::all_rd_select);
    connect(ui.rd_one_per_recp, &QRadioButton::clicked, this, &Send_Mail::obo_rd_select);
    connect(ui.delayed_delv_chk, &QCheckBox::clicked, this, &Send_Mail::delayed_delv_chk_select);
    connect(ui.browse_att, &QPushButton::clicked, this, &Send_Mail::browse_att_Button);
    connect(ui.clear_att, &QPushButton::clicked, this, &Send_Mail::clear_att_Button);

    m_progressTimer.setInterval(500);
    connect(&m_progressTimer, &QTimer::timeout, this, &Send_Mail::pauseStarted);
    m_pauseTimer.setInterval(1000);
    connect(&m_pauseTimer, &QTimer::timeout, this, &Send_Mail::update_pause_timer_label);
    ui.delayed_box->setEnabled(false);
}

Send_Mail::~Send_Mail()
{
    if (m_worker) {
        Stop_SMS_Sending_Now = true;
        m_worker->wait();
    }
}

Send_Mail *Send_Mail::defaultInstance()
{
    return sharedWindow<Send_Mail>();
}

void Send_Mail::Open_Wnd(MailCardSource *source)
{
    m_source = source;
    resetControls();
    ModalSeam::instance().execDialog(this);
    hide();
    m_source = nullptr;
}

void Send_Mail::resetControls()
{
    m_useSeries = m_useSpreadsheet = false;
    if (m_source)
        m_source->sourcesInUse(&m_useSeries, &m_useSpreadsheet);
    ui.from_txt->setText(sender_email);
    ui.to_txt->clear();
    ui.subject_txt->clear();
    ui.message_txt->clear();
    ui.file_name_txt->setText(QStringLiteral("QOVACard"));
    matrix_card_side->button(1)->setChecked(true);
    card_side_str = QStringLiteral("F");
    ui.send_with_batch_chk->setChecked(false);
    ui.send_with_excel_chk->setChecked(false);
    ui.rd_all_to_every->setChecked(true);
    ui.rd_one_per_recp->setChecked(false);
    ui.attachment->clear();
    ui.delayed_delv_chk->setChecked(false);
    ui.mail_count_stepper->setValue(1);
    ui.hour_stepper->setValue(0);
    ui.min_stepper->setValue(0);
    ui.sec_stepper->setValue(0);
    delayed_delv_chk_select();
    send_barcode_rd_select();
}

void Send_Mail::reject()
{
    if (!m_running)
        QDialog::reject();
}

void Send_Mail::Close_Button()
{
    if (!m_running)
        done(0);
}

void Send_Mail::Setting_Button()
{
    Email_Setting::defaultInstance()->Open_Wnd();
    Get_Email_Details();
    ui.from_txt->setText(sender_email);
}

void Send_Mail::send_barcode_rd_select()
{
    ui.rd_mail_curr_barcode->setChecked(true);
    ui.rd_without_barcode->setChecked(false);
    ui.send_sett_box->setEnabled(true);
    ui.send_with_batch_chk->setEnabled(m_useSeries);
    if (!m_useSeries)
        ui.send_with_batch_chk->setChecked(false);
    ui.send_with_excel_chk->setEnabled(m_useSpreadsheet);
    if (!m_useSpreadsheet)
        ui.send_with_excel_chk->setChecked(false);
    distributionEnabled();
    ui.browse_att->setEnabled(false);
    ui.clear_att->setEnabled(false);
}

void Send_Mail::Without_barcode_rd_select()
{
    ui.rd_without_barcode->setChecked(true);
    ui.rd_mail_curr_barcode->setChecked(false);
    ui.send_sett_box->setEnabled(false);
    ui.browse_att->setEnabled(true);
    ui.clear_att->setEnabled(true);
}

void Send_Mail::distributionEnabled()
{
    const bool batch = ui.send_with_batch_chk->isChecked() || ui.send_with_excel_chk->isChecked();
    ui.rd_all_to_every->setEnabled(batch);
    ui.rd_one_per_recp->setEnabled(batch);
}

void Send_Mail::send_with_batch_chk_select()
{
    distributionEnabled();
}

void Send_Mail::send_with_excel_chk_select()
{
    distributionEnabled();
}

void Send_Mail::all_rd_select()
{
    ui.rd_all_to_every->setChecked(true);
    ui.rd_one_per_recp->setChecked(false);
}

void Send_Mail::obo_rd_select()
{
    ui.rd_one_per_recp->setChecked(true);
    ui.rd_all_to_every->setChecked(false);
}

void Send_Mail::delayed_delv_chk_select()
{
    ui.delayed_box->setEnabled(ui.delayed_delv_chk->isChecked());
}

void Send_Mail::mail_card_side_CellClick(int row)
{
    card_side_str = row == 0 ? QStringLiteral("BOTH") : row == 1 ? QStringLiteral("F") : QStringLiteral("B");
    Show_Debug_Message(card_side_str);
}

void Send_Mail::browse_att_Button()
{
    const QString path = ModalSeam::instance().openFileName(this, tr("Choose the file to send"), QString(), QString());
    if (!path.isEmpty())
        ui.attachment->setText(path);
}

void Send_Mail::clear_att_Button()
{
    ui.attachment->clear();
}

Send_Modeless *Send_Mail::progressSheet() const
{
    return Send_Modeless::defaultInstance();
}

void Send_Mail::Show_Create_Modeless()
{
    progressSheet()->ui.pause_label->clear();
    progressSheet()->begin(this);
}

void Send_Mail::Hide_Destroy_Modeless()
{
    progressSheet()->ui.pause_label->clear();
    progressSheet()->end();
}

void Send_Mail::Calculate_Pause_Time(qint64 ms)
{
    progressSheet()->ui.pause_label->setText(MailRun::pauseText(ms));
}

void Send_Mail::Send_Button()
{
    if (m_running)
        return;
    const QString sender = Trim_Str(ui.from_txt->text().toLower());
    if (sender.isEmpty()) {
        Show_MessageBox(kSettingsIncomplete);
        return;
    }
    if (Trim_Str(ui.to_txt->text()).isEmpty()) {
        Show_MessageBox(QStringLiteral("Please specify the Recipient E-mail address."));
        return;
    }
    MailJob job;
    job.recipients = recipientsFromField(ui.to_txt->text());
    if (job.recipients.isEmpty()) {
        Show_MessageBox(QStringLiteral("Recipient E-mail address is invalid or incomplete."));
        return;
    }
    job.sender = sender;
    job.subject = ui.subject_txt->text();
    job.body = ui.message_txt->toPlainText();
    job.password = sender_pwd;
    job.server = sending_server;
    job.port = sending_port;
    job.ssl = send_enable_ssl.isEmpty() ? QStringLiteral("N") : send_enable_ssl;

    const bool cardMode = ui.rd_mail_curr_barcode->isChecked();
    QString baseName = QStringLiteral("QOVACard");
    if (cardMode) {
        // The name stays a plain file name inside the run's own folder.
        const QString typed = ui.file_name_txt->text();
        baseName = Trim_Str(Remove_Reserve_Char_In_File_Name(typed));
        const bool lineBreak = std::any_of(baseName.cbegin(), baseName.cend(), MailTransport::isLineBreak);
        if (typed.contains(QLatin1Char('/')) || typed.contains(QLatin1Char('\\')) || baseName.isEmpty()
            || baseName == QLatin1String(".") || baseName == QLatin1String("..") || lineBreak) {
            Show_MessageBox(kBadFileName);
            return;
        }
    }

    const bool batchBox = ui.send_with_batch_chk->isChecked();
    const bool sheetBox = ui.send_with_excel_chk->isChecked();
    const bool batch = cardMode && (batchBox || sheetBox);
    if (cardMode) {
        bool series = false, spreadsheet = false;
        if (m_source) {
            m_source->sourcesInUse(&series, &spreadsheet);
            job.cards = m_source->takeCards(series && batchBox, spreadsheet && sheetBox);
        }
        job.records = batch && job.cards ? job.cards->recordCount() : 0;
        job.side = card_side_str;
        job.mode = !batch ? MailJob::CardWithoutBatch
                   : ui.rd_one_per_recp->isChecked() ? MailJob::OneCardPerRecipient
                                                     : MailJob::EveryCardToEveryone;
    } else {
        job.mode = MailJob::WithoutCard;
        // The file the field names: as typed when there is one, else without the blanks and
        // line ends around it. A name that would break the mail's headers is refused before
        // any mail goes out, a break at either end of it too (trimmed, the file was only lost).
        const QString typed = ui.attachment->text();
        job.attachment = QFileInfo(typed).isFile() ? typed : typed.trimmed();
        const QString name = QFileInfo(job.attachment).fileName();
        if (std::any_of(name.cbegin(), name.cend(), MailTransport::isLineBreak)) {
            Show_MessageBox(QStringLiteral("The attachment \"%1\" cannot be sent: its name holds a line break. "
                                           "Please rename the file first.")
                                .arg(name.simplified()));
            return;
        }
    }

    m_folder = std::make_unique<QTemporaryDir>(QDir(QDir::tempPath()).filePath(QStringLiteral("festiloom-mail-XXXXXX")));
    if (!m_folder->isValid()) {
        Show_Warning_MessageBox(QStringLiteral("Could not create a temporary folder for the cards.\n%1").arg(m_folder->errorString()));
        m_folder.reset();
        return;
    }
    job.frontPath = m_folder->filePath(baseName + QStringLiteral(".png"));
    job.backPath = m_folder->filePath(baseName + QStringLiteral("_Back.png"));

    if (ui.delayed_delv_chk->isChecked()) {
        job.delayed = true;
        job.mailsBetweenPauses = ui.mail_count_stepper->value();
        job.delayMs = ui.hour_stepper->value() * 3600000LL + ui.min_stepper->value() * 60000LL
                      + ui.sec_stepper->value() * 1000LL;
    }
    job.timeLimitMs = m_timeLimitMs;

    m_batchRun = batch;
    m_run = std::make_unique<MailRun>(std::move(job), [](const QString &line) {
        // Each recipient's address is a diagnostic; a failure stays a warning.
        if (line.startsWith(QLatin1String("error")))
            Show_NSLog_Message(line);
        else
            Show_Debug_Message(line);
    });
    m_running = true;
    progressSheet()->prepare(m_run->job().runLength(), QStringLiteral("%1 / %2"));
    Show_Create_Modeless();
    m_progressTimer.start();
    m_pauseTimer.start();
    MailRun *run = m_run.get();
    m_worker = QThread::create([run] { run->Send_Mail_Thread(); });
    connect(m_worker, &QThread::finished, this, &Send_Mail::finishRun);
    m_worker->start();
}

// The countdown shows as soon as a pause begins, then once a second.
void Send_Mail::pauseStarted()
{
    if (m_run && m_run->pauseLeftMs >= 0 && progressSheet()->ui.pause_label->text().isEmpty())
        update_pause_timer_label();
}

void Send_Mail::update_pause_timer_label()
{
    if (!m_run)
        return;
    const qint64 left = m_run->pauseLeftMs;
    if (left < 0)
        progressSheet()->ui.pause_label->clear();
    else
        Calculate_Pause_Time(left + 999);   // whole seconds still to wait
}

void Send_Mail::finishRun()
{
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    m_progressTimer.stop();
    m_pauseTimer.stop();
    progressSheet()->update_sending_progress_bar();
    if (m_batchRun && m_source)
        m_source->restoreFirstRecord();
    m_folder.reset();   // the cards go with their folder
    Hide_Destroy_Modeless();
    const QString message = m_run->finalMessage();
    const bool succeeded = m_run->succeeded();
    m_run.reset();
    m_running = false;
    if (succeeded)
        Show_MessageBox(message);
    else
        Show_Warning_MessageBox(message);
}
