#pragma once

#include "data/CardRecordRenderer.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// One batch export of card pictures, on worker threads of its own. Each worker takes the next
// card number, renders the chosen side(s) of that record from the shared CardRecordRenderer,
// then encodes and writes them itself, so every core is busy with cards of its own and no
// card waits for another thread. The workers read nothing else of the application but the
// stop request and publish the number of the card in hand, both through counters the owner
// hands over (the progress sheet's). Every card taken is finished, so a stopped run leaves
// cards 1..n without gaps. The run owns its threads and joins them; the owner learns of the
// end through the callback, called once on the thread that ends last.
class BatchExportRun
{
public:
    struct Options
    {
        QString folder;                            // the output folder, made already
        QString extension = QStringLiteral("TIFF");
        QString side = QStringLiteral("F");        // "F", "B" or "BOTH"
        bool combined = false;                     // with "BOTH": front above back in one file
        double dpi = 300;
        int workers = 1;
        const std::atomic<bool> *stop = nullptr;   // set: end before the next card
        std::atomic<int> *progress = nullptr;      // the highest card number started
    };

    struct Result
    {
        int total = 0;
        int written = 0;              // cards whose files were all written
        bool stopped = false;         // the user stopped the run
        QString failedPath;           // the first file that could not be written, and why
        QString writeError;
        QStringList notWritten;       // card file names not written (no picture or write failure)
        QStringList lackingPicture;   // card file names written without a bound picture
        // Bound elements that had no value on some of the cards taken, one line each
        // (CardRecordRenderer::missingValues).
        QStringList missingValues;
    };

    BatchExportRun(std::shared_ptr<const CardRecordRenderer> renderer, Options options, int cardCount);
    ~BatchExportRun();   // waits for the workers

    // Starts the workers; `finished` runs once, on the worker that ends last.
    void start(std::function<void()> finished);
    // Waits for every worker.
    void join();
    // Ends the run before the next card without calling it stopped (the owner is going away).
    void cancel() { m_abort = true; }
    bool isFinished() const { return m_finished.load(); }
    // What the run did; complete once finished.
    Result result() const;

    // Test seam: called on the worker after each card's files are written, with the card's
    // number (from 1). Empty in the application.
    static std::function<void(int)> &afterCardHook();

private:
    // One card rendered and waiting to be written.
    struct Rendered
    {
        int number = 0;
        std::vector<std::pair<QImage, QString>> files;   // pictures and their paths
        QString failure;                                 // why the card has no pictures
        bool lacksPicture = false;
    };

    void workLoop();
    Rendered render(int index) const;
    void write(Rendered &card);
    void threadEnded();

    std::shared_ptr<const CardRecordRenderer> m_renderer;
    Options m_options;
    int m_cardCount = 0;
    std::vector<std::thread> m_threads;
    std::atomic<int> m_next{0};
    std::atomic<int> m_running{0};
    std::atomic<bool> m_abort{false};
    std::atomic<bool> m_finished{false};
    std::function<void()> m_finishedCallback;
    mutable std::mutex m_mutex;
    Result m_result;
    std::vector<int> m_lacking;   // numbers of cards written without a bound picture
    std::vector<int> m_failed;
};
