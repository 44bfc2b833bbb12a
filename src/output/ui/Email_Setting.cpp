#include "output/ui/Email_Setting.h"
#include "dialogs/ui/SharedWindow.h"

#include "document/FileUtilities.h"
#include "document/MessageLog.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "output/EmailAddress.h"
#include "output/MailGlobals.h"
#include "output/MailTransport.h"
#include "output/Preferences.h"

#include <QApplication>
#include <QProcess>

namespace {
const QString kTestFailure = QStringLiteral(
    "Please make sure that:\n1. Entered E-mail settings are correct.\n2. Internet connectivity to E-mail "
    "server is not interrupted and E-mail server is not down.\n3. Your Firewall or Security software (if "
    "any) is not blocking the software to communicate with your E-mail server.");
} // namespace

Email_Setting::Email_Setting(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(241, 244, 250));
    setPalette(background);
    setAutoFillBackground(true);
    connect(ui._send_mail_ssl, &QRadioButton::clicked, this, &Email_Setting::SSL_Selected);
    connect(ui._send_mail_tls, &QRadioButton::clicked, this, &Email_Setting::TLS_Selected);
    connect(ui.save_btn, &QPushButton::clicked, this, &Email_Setting::Save_Button);
    connect(ui.close_btn, &QPushButton::clicked, this, &Email_Setting::Close_Button);
    connect(ui.reset_btn, &QPushButton::clicked, this, &Email_Setting::Reset_Button);
    connect(ui.send_test_btn, &QPushButton::clicked, this, &Email_Setting::Send_Test_Email);
}

Email_Setting *Email_Setting::defaultInstance()
{
    return sharedWindow<Email_Setting>();
}

void Email_Setting::Open_Wnd()
{
    loadPreferences();
    ui._send_mail_result_status->clear();
    ModalSeam::instance().execDialog(this);
    hide();
}

void Email_Setting::loadPreferences()
{
    const auto store = Preferences::sharedInstance();
    ui._send_mail_to->setText(store->send_email_Recipient());
    ui._send_mail_sender_mail->setText(store->send_email_SenderEmail());
    ui._send_mail_smtp->setText(store->send_email_SMTP_server());
    ui._send_mail_port->setText(store->send_email_PORT_num());
    ui._send_mail_password->setText(store->send_email_Password());
    setSsl(store->send_email_enable_ssl() == QLatin1String("Y"));
}

void Email_Setting::setSsl(bool ssl)
{
    ui._send_mail_ssl->setChecked(ssl);
    ui._send_mail_tls->setChecked(!ssl);
}

void Email_Setting::SSL_Selected()
{
    setSsl(true);
}

void Email_Setting::TLS_Selected()
{
    setSsl(false);
}

QString Email_Setting::sslFlag() const
{
    return ui._send_mail_ssl->isChecked() && !ui._send_mail_tls->isChecked() ? QStringLiteral("Y") : QStringLiteral("N");
}

void Email_Setting::Save_Button()
{
    if (!Check_Validation(false))
        return;
    if (flushPreferences())
        done(1);
}

void Email_Setting::Close_Button()
{
    done(0);
}

void Email_Setting::reject()
{
    // The dialog stays while its test mail is out.
    if (!m_sending)
        QDialog::reject();
}

bool Email_Setting::flushPreferences()
{
    const auto store = Preferences::sharedInstance();
    store->setsend_email_Recipient(ui._send_mail_to->text());
    store->setsend_email_SenderEmail(ui._send_mail_sender_mail->text());
    store->setsend_email_SMTP_server(ui._send_mail_smtp->text());
    store->setsend_email_PORT_num(ui._send_mail_port->text());
    store->setsend_email_Password(ui._send_mail_password->text());
    store->setsend_email_enable_ssl(sslFlag());
    QString error;
    if (store->flush(&error))
        return true;
    Show_Warning_MessageBox(QStringLiteral("The e-mail settings could not be saved.\n%1").arg(error));
    return false;
}

void Email_Setting::Reset_Button()
{
    if (Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to reset current email settings?")) != 1)
        return;
    Delete_File(Preferences::sharedInstance()->mPreferencesPath);
    for (QLineEdit *field : {ui._send_mail_to, ui._send_mail_sender_mail, ui._send_mail_smtp, ui._send_mail_port,
                             ui._send_mail_password})
        field->clear();
    ui._send_mail_test_mail->clear();
    setSsl(false);
    Get_Email_Details();
}

int Email_Setting::Check_Validation(bool test)
{
    struct Step
    {
        bool failed;
        const char *message;
        QLineEdit *focus;
    };
    const QString sender = ui._send_mail_sender_mail->text();
    const QString recipient = ui._send_mail_to->text();
    const Step steps[] = {
        {sender.toLower().isEmpty(), "Please enter sender E-mail.", ui._send_mail_sender_mail},
        {!isValidEmail(sender.toLower()), "Please enter valid sender E-mail address.", ui._send_mail_sender_mail},
        {ui._send_mail_password->text().isEmpty(), "Please enter password.", ui._send_mail_password},
        {ui._send_mail_smtp->text().isEmpty(), "Please enter SMTP server.", ui._send_mail_smtp},
        {ui._send_mail_port->text().isEmpty(), "Please enter port number.", ui._send_mail_port},
        {test && recipient.toLower().isEmpty(), "Please enter recipient E-mail address.", ui._send_mail_to},
        {test && !isValidEmail(recipient.toLower()), "Please enter valid recipient E-mail address.", ui._send_mail_to},
    };
    for (const Step &step : steps) {
        if (step.failed) {
            Show_MessageBox(QString::fromLatin1(step.message));
            step.focus->setFocus();
            return 0;
        }
    }
    return 1;
}

void Email_Setting::Send_Test_Email()
{
    if (!Check_Validation(true))
        return;
    // The dialog keeps painting while the script runs; its buttons wait.
    m_sending = true;
    ui.plz_wait_Window->show();
    for (QWidget *button : {ui.save_btn, ui.close_btn, ui.reset_btn, ui.send_test_btn})
        button->setEnabled(false);

    const QString appName = QApplication::applicationDisplayName();
    const QString subject = appName + QStringLiteral(" Test Mail");
    ui._send_mail_result_status->setText(QStringLiteral("It may take a while, Please wait..."));
    MailTransport::Limits limits;
    limits.processEvents = true;
    QProcess process;
    const MailOutcome outcome = MailTransport::sendEmail_pyth(
        &process, ui._send_mail_to->text().toLower(), subject, {}, ui._send_mail_sender_mail->text().toLower(),
        ui._send_mail_password->text(), ui._send_mail_smtp->text(), ui._send_mail_port->text(),
        QStringLiteral("This is test mail sent by ") + appName + QStringLiteral("."), sslFlag(), limits);

    ui.plz_wait_Window->hide();
    m_sending = false;
    for (QWidget *button : {ui.save_btn, ui.close_btn, ui.reset_btn, ui.send_test_btn})
        button->setEnabled(true);
    QString result = QStringLiteral("E-mail has been sent successfully.");
    if (!outcome.sent) {
        Show_NSLog_Message(QStringLiteral("Test mail failed: %1").arg(outcome.reason));
        result = kTestFailure + QStringLiteral("\n\nCould not send email.\n(") + outcome.reason + QStringLiteral(")");
    } else {
        ui._send_mail_test_mail->setText(subject);
    }
    ui._send_mail_result_status->setText(result);
    if (outcome.sent)
        Show_MessageBox(result);
    else
        Show_Warning_MessageBox(result);
}
