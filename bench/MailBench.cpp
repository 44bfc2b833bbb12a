// 100 mails with one card each to a local aiosmtpd server over STARTTLS: the whole run
// through the mail worker (render, write, script), and the mail script alone for the same
// 100 mails. The difference per mail is what the program adds to the script's own time.
//
//   bash scripts/build.sh bench && QT_QPA_PLATFORM=offscreen build/bench/bench/bench_MailBench

#include "document/LMNRenderingView.h"
#include "document/LMNText.h"
#include "output/MailRun.h"
#include "output/MailTransport.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kMails = 100;

struct Server
{
    QTemporaryDir out;
    QProcess process;
    QString port;

    Server()
    {
        process.setProgram(QStringLiteral("/usr/bin/python3"));
        process.setArguments({QStringLiteral(FESTILOOM_SOURCE_DIR "/tests/output/data/smtp_servers.py"),
                              QStringLiteral("--out"), out.path(), QStringLiteral("--password"), QStringLiteral("pw")});
        process.start();
        QByteArray line;
        while (!line.endsWith('\n') && process.waitForReadyRead(20000))
            line += process.readLine();
        for (const QString &word : QString::fromUtf8(line.trimmed()).split(' ')) {
            if (word.startsWith(QLatin1String("starttls=")))
                port = word.section('=', 1);
            if (word.startsWith(QLatin1String("ca=")))
                qputenv("SSL_CERT_FILE", word.section('=', 1).toUtf8());
        }
    }
    ~Server()
    {
        process.closeWriteChannel();
        process.waitForFinished(3000);
    }
};

Server &server()
{
    static Server s;
    return s;
}

// Record r's card: the default card with the record's name in a text element.
class TextCards : public MailCards
{
public:
    int recordCount() const override { return kMails; }
    QImage card(int record, int, QString *) const override
    {
        auto text = std::make_shared<LMNText>();
        text->setText(QStringLiteral("Dear guest %1").arg(record + 1));
        text->setBounds(QRectF(20, 40, 200, 40));
        const LMNRenderingView view(QSizeF(243, 154));
        return view.image_From_Card_Graphics({text}, 0);
    }
};

MailJob job(const QString &folder)
{
    MailJob job;
    job.mode = MailJob::OneCardPerRecipient;
    for (int i = 0; i < kMails; ++i)
        job.recipients.append(QStringLiteral("guest%1@example.org").arg(i));
    job.sender = QStringLiteral("me@example.org");
    job.password = QStringLiteral("pw");
    job.server = QStringLiteral("127.0.0.1");
    job.port = server().port;
    job.subject = QStringLiteral("Invitation");
    job.body = QStringLiteral("See you there.");
    job.cards = std::make_unique<TextCards>();
    job.records = kMails;
    job.frontPath = QDir(folder).filePath(QStringLiteral("QOVACard.jpeg"));
    job.backPath = QDir(folder).filePath(QStringLiteral("QOVACard_Back.jpeg"));
    return job;
}

void BM_MailRun100Cards(benchmark::State &state)
{
    for (auto _ : state) {
        QTemporaryDir folder;
        MailRun run(job(folder.path()));
        run.Send_Mail_Thread();
        if (!run.succeeded())
            state.SkipWithError(run.finalMessage().toUtf8().constData());
    }
    state.counters["mails"] = benchmark::Counter(double(state.iterations()) * kMails,
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MailRun100Cards)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// The script alone, sending a card written once beforehand.
void BM_ScriptAlone100Mails(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("QOVACard.jpeg"));
    TextCards().card(0, 0, nullptr).save(path, "PNG");
    for (auto _ : state) {
        for (int i = 0; i < kMails; ++i) {
            QProcess process;
            const MailOutcome outcome = MailTransport::sendEmail_pyth(
                &process, QStringLiteral("guest@example.org"), QStringLiteral("Invitation"), {path},
                QStringLiteral("me@example.org"), QStringLiteral("pw"), QStringLiteral("127.0.0.1"), server().port,
                QStringLiteral("See you there."), QStringLiteral("N"));
            if (!outcome.sent)
                state.SkipWithError(outcome.reason.toUtf8().constData());
        }
    }
    state.counters["mails"] = benchmark::Counter(double(state.iterations()) * kMails,
                                                 benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScriptAlone100Mails)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

// What the worker adds per mail before the script starts: the card drawn and written.
void BM_RenderAndWriteCard(benchmark::State &state)
{
    QTemporaryDir folder;
    const TextCards cards;
    int record = 0;
    for (auto _ : state) {
        const QImage image = cards.card(record++ % kMails, 0, nullptr);
        image.save(folder.filePath(QStringLiteral("QOVACard.jpeg")), "PNG");
    }
}
BENCHMARK(BM_RenderAndWriteCard)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    server();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
