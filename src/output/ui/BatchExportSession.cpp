#include "output/ui/BatchExportSession.h"

#include "data/ui/CardSnapshotTaker.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/Open_Export_Files.h"
#include "document/EditorHost.h"
#include "output/ui/Send_Modeless.h"

BatchExportSession::BatchExportSession(EditorHost &editor, std::shared_ptr<const CardRecordRenderer> renderer,
                                       BatchExportRun::Options options, int cardCount)
    : QObject(editor.dialogParent()), m_editor(editor), m_folder(options.folder)
{
    m_run = std::make_unique<BatchExportRun>(std::move(renderer), std::move(options), cardCount);
    s_current = this;
}

BatchExportSession::~BatchExportSession()
{
    if (m_run) {
        m_run->cancel();
        m_run->join();
    }
}

BatchExportSession *BatchExportSession::current()
{
    return s_current;
}

void BatchExportSession::start()
{
    Send_Modeless *sheet = Send_Modeless::defaultInstance();
    sheet->prepare(m_run->result().total, QStringLiteral("%1 / %2 Card"));
    sheet->begin(m_editor.dialogParent());
    m_run->start([this] { QMetaObject::invokeMethod(this, &BatchExportSession::finish, Qt::QueuedConnection); });
}

void BatchExportSession::finish()
{
    if (m_done)
        return;
    m_done = true;
    m_run->join();
    m_result = m_run->result();
    Send_Modeless::defaultInstance()->end();
    CardSnapshotTaker::Select_first_row_value_for_design(m_editor, 0);
    if (!m_result.failedPath.isEmpty())
        Show_Warning_MessageBox(QStringLiteral("%1\n\n%2").arg(m_result.failedPath, m_result.writeError));
    Open_Export_Files::showFinished(m_folder, finishedMessage(m_result));
    s_current = nullptr;
    emit finished();
    deleteLater();
}

QString BatchExportSession::finishedMessage(const BatchExportRun::Result &result)
{
    QString message;
    if (result.notWritten.isEmpty() && result.missingValues.isEmpty()) {
        message = QStringLiteral("Card has been exported successfully.");
    } else if (result.notWritten.isEmpty()) {
        message = result.written == 1 ? QStringLiteral("1 card was exported.")
                                      : QStringLiteral("%1 cards were exported.").arg(result.written);
    } else {
        message = QStringLiteral("%1 of %2 cards were exported. Not written: %3.")
                      .arg(result.written)
                      .arg(result.total)
                      .arg(result.notWritten.join(QStringLiteral(", ")));
        if (!result.failedPath.isEmpty())
            message += QStringLiteral(" The export ended at \"%1\": %2").arg(result.failedPath, result.writeError);
    }
    for (const QString &line : result.missingValues)
        message += QStringLiteral("\n") + line + QLatin1Char('.');
    if (!result.lackingPicture.isEmpty())
        message += QStringLiteral("\nWritten without their bound picture: %1.")
                       .arg(result.lackingPicture.join(QStringLiteral(", ")));
    return message;
}
