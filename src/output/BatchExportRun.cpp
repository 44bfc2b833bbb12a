#include "output/BatchExportRun.h"

#include "output/CardExport.h"

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
        m_threads.emplace_back([this] { workLoop(); });
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
    const int made = m_cardCount > 0 ? std::min(m_cardCount, std::max(m_next.load(), 0)) : 0;
    const bool front = m_options.side != QLatin1String("B");
    const bool back = m_options.side != QLatin1String("F");
    result.missingValues = m_renderer ? m_renderer->missingValues(made, front, back) : QStringList();
    result.lackingPicture = cardNames(m_lacking);
    result.notWritten = cardNames(m_failed);
    return result;
}

void BatchExportRun::threadEnded()
{
    if (m_running.fetch_sub(1) == 1) {
        m_finished = true;
        if (m_finishedCallback)
            m_finishedCallback();
    }
}

void BatchExportRun::workLoop()
{
    for (;;) {
        if (m_options.stop && m_options.stop->load()) {
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
        if (m_options.progress) {
            int shown = m_options.progress->load();
            while (shown < index + 1 && !m_options.progress->compare_exchange_weak(shown, index + 1)) {
            }
        }
        Rendered card = render(index);
        write(card);
        if (const auto &hook = afterCardHook())
            hook(card.number);
    }
    threadEnded();
}

BatchExportRun::Rendered BatchExportRun::render(int index) const
{
    Rendered card;
    card.number = index + 1;
    const QString path = CardExport::cardPath(m_options.folder, card.number, m_options.extension);
    QStringList missing;
    auto side = [&](int which) {
        QString reason;
        QImage image = m_renderer->cardImage(index, which, 0, m_options.dpi, &reason, &missing);
        if (image.isNull() && card.failure.isEmpty())
            card.failure = reason.isEmpty() ? QStringLiteral("The card could not be drawn.") : reason;
        return image;
    };
    if (m_options.side == QLatin1String("BOTH")) {
        const QImage back = side(1);
        const QImage front = side(0);
        if (m_options.combined) {
            card.files.emplace_back(CardExport::combined(front, back), path);
        } else {
            card.files.emplace_back(back, CardExport::Create_Back_Card_Path(path));
            card.files.emplace_back(front, CardExport::Create_Front_Card_Path(path));
        }
    } else if (m_options.side == QLatin1String("F")) {
        card.files.emplace_back(side(0), path);
    } else {
        card.files.emplace_back(side(1), CardExport::Create_Back_Card_Path(path));
    }
    if (!card.failure.isEmpty())
        card.files.clear();
    card.lacksPicture = !missing.isEmpty();
    return card;
}

void BatchExportRun::write(Rendered &card)
{
    auto notWritten = [&] {
        std::lock_guard lock(m_mutex);
        m_failed.push_back(card.number);
    };
    if (!card.failure.isEmpty()) {
        notWritten();
        return;
    }
    // A card taken before a write failed is still written: the run ends without gaps.
    for (auto &[image, file] : card.files) {
        QString error;
        const bool written = CardExport::writePicture(image, file, &error);
        image = QImage();   // its memory goes back before the next side or card is drawn
        if (written)
            continue;
        std::lock_guard lock(m_mutex);
        if (m_result.failedPath.isEmpty()) {
            m_result.failedPath = file;
            m_result.writeError = error;
        }
        m_abort = true;
        m_failed.push_back(card.number);
        return;
    }
    std::lock_guard lock(m_mutex);
    ++m_result.written;
    if (card.lacksPicture)
        m_lacking.push_back(card.number);
}
