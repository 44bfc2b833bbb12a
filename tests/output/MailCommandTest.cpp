// The editor's Mail command: the account comes from the settings file read at start-up, and
// the card of the open design goes out as a PNG picture.
// Runs worker threads: also run under ThreadSanitizer (scripts/build.sh tsan).

#include "SmtpServers.h"

#include "support/BarcodeReader.h"
#include "editor/EditorWindowFixture.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeLists.h"
#include "data/DataSeries.h"
#include "document/DocumentGlobals.h"
#include "output/MailGlobals.h"
#include "output/Preferences.h"
#include "output/ui/Send_Mail.h"
#include "support/TestHelpers.h"

#include <QAction>
#include <QJsonArray>

class MailCommand : public EditorWindowFixture
{
};

TEST_F(MailCommand, SendsTheOpenDesignWithTheSavedAccountThenOneRecordPerRecipient)
{
    SmtpServers &servers = SmtpServers::instance();
    ASSERT_TRUE(servers.ready());
    {
        Preferences store(QDir(m_resources.path()).filePath(Preferences::fileName()));
        store.setsend_email_SenderEmail("Me@Example.org");
        store.setsend_email_Password(SmtpServers::kPassword);
        store.setsend_email_SMTP_server("127.0.0.1");
        store.setsend_email_PORT_num(servers.port("tls"));
        store.setsend_email_enable_ssl("Y");
        ASSERT_TRUE(store.flush());
    }
    startWithCard();
    EXPECT_EQ(sender_email, QStringLiteral("Me@Example.org"));

    QAction *mail = nullptr;
    for (QAction *action : m_window->findChildren<QAction *>())
        if (action->text() == QStringLiteral("&Mail…"))
            mail = action;
    ASSERT_NE(mail, nullptr);
    ASSERT_TRUE(mail->isEnabled());

    qsizetype before = servers.count();
    m_seam.onDialog([](QDialog *dialog) {
        auto *window = qobject_cast<Send_Mail *>(dialog);
        EXPECT_NE(window, nullptr);
        if (!window)
            return 0;
        EXPECT_EQ(window->ui.from_txt->text(), QStringLiteral("Me@Example.org"));
        EXPECT_FALSE(window->ui.send_with_batch_chk->isEnabled());
        window->ui.to_txt->setText(QStringLiteral("friend@example.org"));
        QTest::mouseClick(window->ui.send_btn, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([window] { return !window->isRunning(); }, 30000));
        QTest::mouseClick(window->ui.close_btn, Qt::LeftButton);
        return window->result();
    });
    mail->trigger();
    QList<QJsonObject> sent = servers.since(before);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(m_seam.messageTexts().last(), QStringLiteral("\nE-mail has been sent successfully."));
    EXPECT_EQ(SmtpServers::attachmentNames(sent[0]), QStringList({"QOVACard.png"}));
    const QImage card = QImage::fromData(SmtpServers::attachmentData(sent[0], 0), "PNG");
    EXPECT_NEAR(card.width(), 243 * 150 / 72.0, 2); // 150 dpi
    // The wizard's title is on the card: not one colour all over.
    EXPECT_GT(TestHelpers::countPixelsDifferent(card, card.pixelColor(0, 0), card.rect()), 100);

    // One card per recipient with three recipients and two records: two mails, each carrying
    // its own record's card, read back from the bound barcode.
    ASSERT_TRUE(DataSeries::writeValues("codes", {"FEST-001", "FEST-002"}, DataSeries::WriteMode::Replace));
    const GraphicPtr code = LMNGraphic::create(GraphicKind::Barcode);
    code->setBounds(QRectF(0, 0, 130, 130));
    code->data_source_type = 1;
    code->batch_list_name = QStringLiteral("codes");
    BarcodeElementSettings settings;
    settings.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf("QR Code"));
    settings.linear_or_2d = 1;
    settings.show_hide_hdr = settings.show_hide_ftr = 1;
    settings.qr_size_val = 120;
    settings.applyTo(*code);
    m_document.graphics.prepend(code);

    before = servers.count();
    m_seam.onDialog([](QDialog *dialog) {
        auto *window = qobject_cast<Send_Mail *>(dialog);
        EXPECT_TRUE(window && window->ui.send_with_batch_chk->isEnabled());
        if (!window)
            return 0;
        window->ui.to_txt->setText(QStringLiteral("a@example.org, b@example.org, c@example.org"));
        window->ui.send_with_batch_chk->click();
        window->ui.rd_one_per_recp->click();
        QTest::mouseClick(window->ui.send_btn, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([window] { return !window->isRunning(); }, 30000));
        return 0;
    });
    m_window->Mail_Button();
    EXPECT_EQ(m_seam.messageTexts().last(), QStringLiteral("\nE-mail has been sent successfully."));
    sent = servers.since(before);
    ASSERT_EQ(sent.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QImage card = QImage::fromData(SmtpServers::attachmentData(sent[i], 0), "PNG");
        EXPECT_EQ(BarcodeReader::read(card, ZXing::BarcodeFormat::QRCode).text,
                  QStringLiteral("FEST-00%1").arg(i + 1).toStdString());
    }
}
