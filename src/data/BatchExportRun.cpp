#include "data/BatchExportRun.h"

#include "data/CardExport.h"
#include "output/OutputGlobals.h"

#include <QFileInfo>

#include <algorithm>

namespace {

QStringList cardNames(std::vector<int> numbers)
{
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    QStringList names;
    for (int number : numbers)
        names << QStringLiteral("Card_%1").arg(number);
    return names;
}

} // namespace

BatchExportRun::BatchExportRun(std::shared_ptr<const CardRecordRenderer> renderer, Options options, int cardCount)
    : m_renderer(std::move(renderer)), m_options(std::move(options)), m_cardCount(std::max(cardCount, 0))
{
    m_result.total = m_cardCount;
}

BatchExportRun::~BatchExportRun()
{
    join();
}

std::function<void(int)> &BatchExportRun::afterCardHook()
{
    static std::function<void(int)> hook;
    return hook;
}

void BatchExportRun::start(std::function<void()> finished)
{
    m_finishedCallback = std::move(finished);
    const int workers = std::clamp(m_options.workers, 1, std::max(1, m_cardCount));
    m_running = workers;
    for (int i = 0; i < workers; ++i)
        m_threads.emplace_back([this] { work(); });
}

void BatchExportRun::join()
{
    for (std::thread &thread : m_threads) {
        if (thread.joinable())
            thread.join();
    }
    m_threads.clear();
}

BatchExportRun::Result BatchExportRun::result() const
{
    std::lock_guard lock(m_mutex);
    Result result = m_result;
    result.lackingPicture = cardNames(m_lacking);
    result.notWritten = cardNames(m_failed);
    return result;
}

void BatchExportRun::work()
{
    for (;;) {
        if (Stop_SMS_Sending_Now.load()) {
            std::lock_guard lock(m_mutex);
            m_result.stopped = true;
            break;
        }
        if (m_abort.load())
            break;
        const int index = m_next.fetch_add(1);
        if (index >= m_cardCount)
            break;
        // The highest card started, for the progress sheet's timer.
        int shown = curr_barcode_count.load();
        while (shown < index + 1 && !curr_barcode_count.compare_exchange_weak(shown, index + 1)) {
        }
        produce(index);
        if (const auto &hook = afterCardHook())
            hook(index + 1);
    }
    if (m_running.fetch_sub(1) == 1) {
        m_finished = true;
        if (m_finishedCallback)
            m_finishedCallback();
    }
}

void BatchExportRun::noteFailure(const QString &card, const QString &path, const QString &error, bool endRun)
{
    Q_UNUSED(card);
    std::lock_guard lock(m_mutex);
    if (endRun && m_result.failedPath.isEmpty()) {
        m_result.failedPath = path;
        m_result.writeError = error;
    }
    if (endRun)
        m_abort = true;
}

void BatchExportRun::produce(int index)
{
    const int number = index + 1;
    const QString card = QStringLiteral("Card_%1").arg(number);
    const QString path = CardExport::cardPath(m_options.folder, number, m_options.extension);
    QStringList missing;
    QString failure;

    auto render = [&](int side) {
        QString reason;
        QImage image = m_renderer->cardImage(index, side, 0, m_options.dpi, &reason, &missing);
        if (image.isNull() && failure.isEmpty())
            failure = reason.isEmpty() ? QStringLiteral("The card could not be drawn.") : reason;
        return image;
    };
    auto write = [&](const QImage &image, const QString &file) {
        QString error;
        if (CardExport::writePicture(image, file, &error))
            return true;
        noteFailure(card, file, error, true);
        return false;
    };
    auto failed = [&] {
        std::lock_guard lock(m_mutex);
        m_failed.push_back(number);
    };

    std::vector<std::pair<QImage, QString>> files;
    if (m_options.side == QLatin1String("BOTH")) {
        const QImage back = render(1);
        const QImage front = render(0);
        if (failure.isEmpty()) {
            if (m_options.combined) {
                files.emplace_back(CardExport::combined(front, back), path);
            } else {
                files.emplace_back(back, CardExport::Create_Back_Card_Path(path));
                files.emplace_back(front, CardExport::Create_Front_Card_Path(path));
            }
        }
    } else if (m_options.side == QLatin1String("F")) {
        const QImage front = render(0);
        if (failure.isEmpty())
            files.emplace_back(front, path);
    } else {
        const QImage back = render(1);
        if (failure.isEmpty())
            files.emplace_back(back, CardExport::Create_Back_Card_Path(path));
    }
    if (!failure.isEmpty()) {
        failed();
        return;
    }
    for (const auto &[image, file] : files) {
        if (!write(image, file)) {
            failed();
            return;
        }
    }
    std::lock_guard lock(m_mutex);
    ++m_result.written;
    if (!missing.isEmpty())
        m_lacking.push_back(number);
}
