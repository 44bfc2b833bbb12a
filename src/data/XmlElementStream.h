#pragma once

// Reads a large XML document in pieces and hands chosen elements to pugixml one batch at a
// time, so a worksheet of a million cells never sits in memory as one document tree.
//
// A "unit" is named by the local names of its ancestors from the root, e.g. worksheet /
// sheetData / row. Every step but the last matches only the first element of that name
// under its parent; the last step matches every element of that name. Each unit arrives
// as a pugixml element node, in document order. The whole document is checked for
// well-formedness on the way (matching tags, a single root, no DTD); what lies outside
// the units is checked but not parsed further.

#include <QByteArrayList>
#include <QString>

#include <pugixml.hpp>

#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

class QIODevice;

class XmlElementStream
{
public:
    // Returns false to stop reading early (the run then still counts as successful).
    using UnitHandler = std::function<bool(int unit, const pugi::xml_node &node)>;

    // `initialBuffer` is how many bytes are read at a time (the buffer grows for larger units).
    explicit XmlElementStream(QIODevice *device, std::size_t initialBuffer = 256 * 1024);

    // The most bytes one unit, comment or other piece of markup may take; a document holding
    // a larger one is refused as too large rather than held in memory whole.
    void setMaxElementBytes(std::size_t bytes) { m_maxElementBytes = bytes; }
    static constexpr std::size_t DefaultMaxElementBytes = std::size_t(8) << 20;

    // Registers a unit path (local names from the root element down); returns its number.
    int addUnit(const QByteArrayList &path);

    // Reads the document to its end (or until the handler stops it). False when the
    // document cannot be read or is not well-formed; errorString() says why.
    bool run(const UnitHandler &handler);

    // The parallel form: batches of units are parsed on worker threads.
    class BatchWork
    {
    public:
        virtual ~BatchWork() = default;
        // On a worker thread: the unit elements of one batch, in document order. Must not
        // touch state shared with other batches except to read it.
        virtual std::shared_ptr<void> map(int unit, const std::vector<pugi::xml_node> &units) const = 0;
        // On the calling thread, once per batch in document order; false stops reading.
        virtual bool reduce(std::shared_ptr<void> result) = 0;
    };
    // Like run(), with up to `threads` batches in work at once.
    bool runBatches(BatchWork &work, int threads);

    QString errorString() const { return m_error; }

    // Local name of a possibly prefixed element name ("x:row" -> "row").
    static const char *localName(const char *qualifiedName);
    static bool hasLocalName(const pugi::xml_node &node, const char *name);

private:
    struct PathNode
    {
        std::string name;
        int unit = -1;              // >= 0 on the last step of a unit path
        bool used = false;          // an inner step matches only its first element
        std::vector<int> children;  // indexes into m_nodes
    };
    struct OpenElement
    {
        std::size_t nameEnd;        // end of its name in m_names
        int pathNode;               // matched path step, or -1
    };
    enum class Step { Done, NeedMore, Failed };
    enum class SimpleUnit { Found, NeedMore, NotSimple };

    Step scanToken();
    Step scanStartTag();
    Step scanEndTag();
    SimpleUnit simpleUnitEnd(std::size_t from, const char *name, std::size_t nameLength, std::size_t *end) const;
    Step skipPast(const char *terminator, std::size_t terminatorLength, std::size_t from);
    bool fill();
    bool flushBatch();
    bool deliverOldest();
    struct Outcome
    {
        std::shared_ptr<void> result;
        QString error;
    };
    bool fail(const QString &message);
    Step failed(const QString &message);
    int matchChild(int parentNode, const char *name, std::size_t length);

    QIODevice *m_device;
    std::size_t m_initialBuffer;
    std::size_t m_maxElementBytes = DefaultMaxElementBytes;
    std::vector<PathNode> m_nodes;   // m_nodes[0] is above the root element
    const UnitHandler *m_handler = nullptr;

    std::vector<char> m_buffer;
    std::size_t m_pos = 0;     // scanning position
    std::size_t m_end = 0;     // bytes held
    bool m_eof = false;
    bool m_stopped = false;
    quint64 m_consumed = 0;    // bytes dropped from the front so far, for error offsets

    std::string m_names;                   // names of the open elements, one after another
    std::vector<OpenElement> m_open;
    bool m_seenRoot = false;
    bool m_rootClosed = false;

    // The unit being captured, and the batch of complete units waiting to be parsed.
    int m_captureUnit = -1;
    std::size_t m_captureStart = 0;
    std::size_t m_captureDepth = 0;
    int m_batchUnit = -1;
    std::size_t m_batchStart = 0;
    std::size_t m_batchEnd = 0;
    std::size_t m_batchParentDepth = 0;

    pugi::xml_document m_document;
    QString m_error;

    BatchWork *m_work = nullptr;
    std::size_t m_maxInFlight = 1;
    std::deque<std::future<Outcome>> m_inFlight;
};
