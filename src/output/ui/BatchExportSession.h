#pragma once

#include "output/BatchExportRun.h"

#include <QObject>
#include <QPointer>

#include <memory>

class EditorHost;

// A batch export in progress, on the main thread: it begins the progress sheet over the
// editor, owns the run's workers, and when they are done ends the sheet, puts record 0 back
// into the front side, reports a failed write once and shows the export-finished panel.
// The editor stays live meanwhile: the canvas paints and the sheet's Stop button answers.
class BatchExportSession : public QObject
{
    Q_OBJECT

public:
    BatchExportSession(EditorHost &editor, std::shared_ptr<const CardRecordRenderer> renderer,
                       BatchExportRun::Options options, int cardCount);
    ~BatchExportSession() override;

    // The run in progress, if any.
    static BatchExportSession *current();

    void start();
    BatchExportRun::Result result() const { return m_result; }

    // The text of the export-finished panel for a run's result.
    static QString finishedMessage(const BatchExportRun::Result &result);

signals:
    void finished();

private:
    void finish();

    EditorHost &m_editor;
    std::unique_ptr<BatchExportRun> m_run;
    QString m_folder;
    BatchExportRun::Result m_result;
    bool m_done = false;
    static inline QPointer<BatchExportSession> s_current;
};
