#include "data/XmlElementStream.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t MaxDepth = 2000;
// Units of one batch are parsed together once this many bytes are waiting.
constexpr std::size_t BatchBytes = 256 * 1024;
constexpr unsigned ParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single | pugi::parse_fragment;

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

XmlElementStream::XmlElementStream(QIODevice *device, std::size_t initialBuffer)
    : m_device(device), m_initialBuffer(std::max<std::size_t>(initialBuffer, 16))
{
    m_nodes.emplace_back();   // above the root
}

int XmlElementStream::addUnit(const QByteArrayList &path)
{
    int parent = 0;
    int units = 0;
    for (const PathNode &node : m_nodes)
        units += node.unit >= 0 ? 1 : 0;
    for (const QByteArray &step : path) {
        int found = -1;
        for (int child : m_nodes[std::size_t(parent)].children)
            if (m_nodes[std::size_t(child)].name == step.toStdString())
                found = child;
        if (found < 0) {
            PathNode node;
            node.name = step.toStdString();
            m_nodes.push_back(node);
            found = int(m_nodes.size() - 1);
            m_nodes[std::size_t(parent)].children.push_back(found);
        }
        parent = found;
    }
    m_nodes[std::size_t(parent)].unit = units;
    return units;
}

const char *XmlElementStream::localName(const char *qualifiedName)
{
    const char *colon = std::strchr(qualifiedName, ':');
    return colon ? colon + 1 : qualifiedName;
}

bool XmlElementStream::hasLocalName(const pugi::xml_node &node, const char *name)
{
    return std::strcmp(localName(node.name()), name) == 0;
}

bool XmlElementStream::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
    return false;
}

XmlElementStream::Step XmlElementStream::failed(const QString &message)
{
    fail(message);
    return Step::Failed;
}

bool XmlElementStream::run(const UnitHandler &handler)
{
    m_handler = &handler;
    m_buffer.resize(m_initialBuffer);
    if (!fill())
        return false;
    if (m_end >= 2 && ((m_buffer[0] == '\xff' && m_buffer[1] == '\xfe') || (m_buffer[0] == '\xfe' && m_buffer[1] == '\xff')))
        return fail(QStringLiteral("The XML part is not UTF-8 encoded."));
    if (m_end >= 3 && std::memcmp(m_buffer.data(), "\xef\xbb\xbf", 3) == 0)
        m_pos = 3;

    for (;;) {
        if (m_pos == m_end) {
            if (m_eof)
                break;
            if (!fill())
                return false;
            continue;
        }
        const Step step = scanToken();
        if (step == Step::Failed)
            return false;
        if (m_stopped)
            return true;
        if (step == Step::NeedMore) {
            if (m_eof)
                return fail(QStringLiteral("The XML part ends in the middle of markup."));
            if (!fill())
                return false;
            if (m_stopped)
                return true;
        }
    }
    if (!m_seenRoot)
        return fail(QStringLiteral("The XML part has no root element."));
    if (!m_open.empty())
        return fail(QStringLiteral("The XML part ends before its elements are closed."));
    return flushBatch();
}

bool XmlElementStream::runBatches(BatchWork &work, int threads)
{
    m_work = &work;
    m_maxInFlight = std::size_t(std::max(threads, 1));
    const UnitHandler unused = [](int, const pugi::xml_node &) { return true; };
    bool ok = run(unused);
    while (ok && !m_inFlight.empty() && !m_stopped)
        ok = deliverOldest();
    m_inFlight.clear();   // waits for batches still in work after a failure or a stop
    m_work = nullptr;
    return ok;
}

bool XmlElementStream::deliverOldest()
{
    Outcome outcome = m_inFlight.front().get();
    m_inFlight.pop_front();
    if (!outcome.error.isEmpty())
        return fail(outcome.error);
    if (!m_work->reduce(std::move(outcome.result)))
        m_stopped = true;
    return true;
}

bool XmlElementStream::fill()
{
    // Complete units are parsed before their bytes are dropped.
    if (!flushBatch())
        return false;
    if (m_stopped)
        return true;

    std::size_t keep = m_pos;
    if (m_captureUnit >= 0)
        keep = std::min(keep, m_captureStart);
    if (keep > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + keep, m_end - keep);
        m_end -= keep;
        m_pos -= keep;
        if (m_captureUnit >= 0)
            m_captureStart -= keep;
        m_consumed += keep;
    }
    if (m_end == m_buffer.size()) {
        // The buffer is full of one unfinished piece of markup.
        if (m_end >= m_maxElementBytes)
            return fail(QStringLiteral("The XML part is too large: one of its elements or comments takes more than %1 MB.")
                            .arg(double(m_maxElementBytes) / double(1 << 20), 0, 'g', 4));
        m_buffer.resize(std::min(m_buffer.size() * 2, std::max(m_maxElementBytes, m_initialBuffer)));
    }

    const qint64 read = m_device->read(m_buffer.data() + m_end, qint64(m_buffer.size() - m_end));
    if (read < 0)
        return fail(QStringLiteral("Cannot read the XML part: %1").arg(m_device->errorString()));
    if (read == 0)
        m_eof = true;
    m_end += std::size_t(read);
    return true;
}

XmlElementStream::Step XmlElementStream::scanToken()
{
    const char *data = m_buffer.data();
    const char *from = data + m_pos;
    const char *lt = static_cast<const char *>(std::memchr(from, '<', m_end - m_pos));
    if (m_open.empty()) {
        for (const char *p = from; p < (lt ? lt : data + m_end); ++p)
            if (!isXmlSpace(*p))
                return failed(QStringLiteral("The XML part has text outside its root element."));
    }
    if (!lt) {
        m_pos = m_end;
        return Step::Done;
    }
    m_pos = std::size_t(lt - data);
    if (m_end - m_pos < 2)
        return Step::NeedMore;

    const char next = data[m_pos + 1];
    if (next == '?')
        return skipPast("?>", 2, m_pos + 2);
    if (next == '!') {
        const std::size_t available = m_end - m_pos;
        const auto startsWith = [&](const char *text, std::size_t length, bool *incomplete) {
            const std::size_t compared = std::min(length, available);
            const bool prefix = std::memcmp(data + m_pos, text, compared) == 0;
            *incomplete = prefix && compared < length;
            return prefix && compared == length;
        };
        bool incomplete = false;
        if (startsWith("<!--", 4, &incomplete))
            return skipPast("-->", 3, m_pos + 4);
        if (incomplete)
            return Step::NeedMore;
        if (startsWith("<![CDATA[", 9, &incomplete)) {
            if (m_open.empty())
                return failed(QStringLiteral("The XML part has text outside its root element."));
            return skipPast("]]>", 3, m_pos + 9);
        }
        if (incomplete)
            return Step::NeedMore;
        if (startsWith("<!DOCTYPE", 9, &incomplete))
            return failed(QStringLiteral("The XML part declares a document type, which workbooks never do."));
        if (incomplete)
            return Step::NeedMore;
        return failed(QStringLiteral("The XML part has malformed markup near byte %1.").arg(m_consumed + m_pos));
    }
    if (next == '/')
        return scanEndTag();
    return scanStartTag();
}

XmlElementStream::Step XmlElementStream::skipPast(const char *terminator, std::size_t terminatorLength,
                                                  std::size_t from)
{
    if (from > m_end)
        return Step::NeedMore;
    const void *found = memmem(m_buffer.data() + from, m_end - from, terminator, terminatorLength);
    if (!found)
        return Step::NeedMore;
    m_pos = std::size_t(static_cast<const char *>(found) - m_buffer.data()) + terminatorLength;
    return Step::Done;
}

int XmlElementStream::matchChild(int parentNode, const char *name, std::size_t length)
{
    const char *colon = static_cast<const char *>(std::memchr(name, ':', length));
    if (colon) {
        length -= std::size_t(colon + 1 - name);
        name = colon + 1;
    }
    for (int child : m_nodes[std::size_t(parentNode)].children) {
        PathNode &node = m_nodes[std::size_t(child)];
        if (node.name.size() != length || std::memcmp(node.name.data(), name, length) != 0)
            continue;
        if (node.unit >= 0)
            return child;
        if (node.used)
            return -1;
        node.used = true;
        return child;
    }
    return -1;
}

XmlElementStream::Step XmlElementStream::scanStartTag()
{
    const char *data = m_buffer.data();
    std::size_t i = m_pos + 1;
    while (i < m_end && !isXmlSpace(data[i]) && data[i] != '/' && data[i] != '>')
        ++i;
    if (i == m_end)
        return Step::NeedMore;
    const std::size_t nameStart = m_pos + 1;
    const std::size_t nameLength = i - nameStart;
    if (nameLength == 0)
        return failed(QStringLiteral("The XML part has an element without a name near byte %1.").arg(m_consumed + m_pos));

    char quote = 0;
    for (; i < m_end; ++i) {
        const char c = data[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            break;
        } else if (c == '<') {
            return failed(QStringLiteral("The XML part has a broken tag near byte %1.").arg(m_consumed + m_pos));
        }
    }
    if (i == m_end)
        return Step::NeedMore;
    const bool selfClosing = data[i - 1] == '/';
    const std::size_t tagStart = m_pos;
    m_pos = i + 1;

    if (m_open.empty()) {
        if (m_seenRoot)
            return failed(QStringLiteral("The XML part has content after its root element."));
        m_seenRoot = true;
    }
    if (m_open.size() >= MaxDepth)
        return failed(QStringLiteral("The XML part nests its elements too deeply."));

    const int parentNode = m_open.empty() ? 0 : m_open.back().pathNode;
    const int node = (m_captureUnit < 0 && parentNode >= 0) ? matchChild(parentNode, data + nameStart, nameLength) : -1;
    const int unit = node >= 0 ? m_nodes[std::size_t(node)].unit : -1;

    if (unit >= 0) {
        if (m_batchUnit >= 0 && (m_batchUnit != unit || m_batchEnd - m_batchStart >= BatchBytes)) {
            if (!flushBatch())
                return Step::Failed;
            if (m_stopped)
                return Step::Done;
        }
        if (selfClosing) {
            if (m_batchUnit < 0) {
                m_batchUnit = unit;
                m_batchStart = tagStart;
                m_batchParentDepth = m_open.size();
            }
            m_batchEnd = m_pos;
            return Step::Done;
        }
        std::size_t unitEnd = 0;
        switch (simpleUnitEnd(m_pos, data + nameStart, nameLength, &unitEnd)) {
        case SimpleUnit::NeedMore:
            m_pos = tagStart;
            return Step::NeedMore;
        case SimpleUnit::Found:
            if (m_batchUnit < 0) {
                m_batchUnit = unit;
                m_batchStart = tagStart;
                m_batchParentDepth = m_open.size();
            }
            m_batchEnd = unitEnd;
            m_pos = unitEnd;
            return Step::Done;
        case SimpleUnit::NotSimple:
            break;
        }
        m_captureUnit = unit;
        m_captureStart = tagStart;
        m_captureDepth = m_open.size() + 1;
    }
    if (!selfClosing) {
        m_names.append(data + nameStart, nameLength);
        m_open.push_back({m_names.size(), unit >= 0 ? -1 : node});
    }
    return Step::Done;
}

XmlElementStream::SimpleUnit XmlElementStream::simpleUnitEnd(std::size_t from, const char *name,
                                                            std::size_t nameLength, std::size_t *end) const
{
    // Inside a unit without comments, CDATA, processing instructions or a nested element of
    // its own name, the first end tag of its name closes it: "<" cannot occur in text or in
    // attribute values. Such units are the rule in workbooks; pugixml checks their inside.
    const char *data = m_buffer.data();
    std::size_t i = from;
    for (;;) {
        const void *lt = std::memchr(data + i, '<', m_end - i);
        if (!lt)
            return SimpleUnit::NeedMore;
        i = std::size_t(static_cast<const char *>(lt) - data);
        if (i + nameLength + 3 > m_end)
            return SimpleUnit::NeedMore;
        const char next = data[i + 1];
        if (next == '!' || next == '?')
            return SimpleUnit::NotSimple;
        if (next == '/') {
            if (std::memcmp(data + i + 2, name, nameLength) == 0) {
                std::size_t j = i + 2 + nameLength;
                while (j < m_end && isXmlSpace(data[j]))
                    ++j;
                if (j == m_end)
                    return SimpleUnit::NeedMore;
                if (data[j] == '>') {
                    *end = j + 1;
                    return SimpleUnit::Found;
                }
            }
        } else if (std::memcmp(data + i + 1, name, nameLength) == 0) {
            const char after = data[i + 1 + nameLength];
            if (isXmlSpace(after) || after == '/' || after == '>')
                return SimpleUnit::NotSimple;
        }
        ++i;
    }
}

XmlElementStream::Step XmlElementStream::scanEndTag()
{
    const char *data = m_buffer.data();
    std::size_t i = m_pos + 2;
    while (i < m_end && !isXmlSpace(data[i]) && data[i] != '>')
        ++i;
    const std::size_t nameStart = m_pos + 2;
    const std::size_t nameLength = i - nameStart;
    while (i < m_end && isXmlSpace(data[i]))
        ++i;
    if (i == m_end)
        return Step::NeedMore;
    if (data[i] != '>' || m_open.empty())
        return failed(QStringLiteral("The XML part has a broken end tag near byte %1.").arg(m_consumed + m_pos));

    const std::size_t openStart = m_open.size() > 1 ? m_open[m_open.size() - 2].nameEnd : 0;
    const std::size_t openLength = m_open.back().nameEnd - openStart;
    if (openLength != nameLength || std::memcmp(m_names.data() + openStart, data + nameStart, nameLength) != 0)
        return failed(QStringLiteral("The XML part closes an element it did not open near byte %1.")
                        .arg(m_consumed + m_pos));
    m_open.pop_back();
    m_names.resize(openStart);
    m_pos = i + 1;

    const std::size_t depth = m_open.size();
    if (m_captureUnit >= 0 && depth + 1 == m_captureDepth) {
        if (m_batchUnit < 0) {
            m_batchUnit = m_captureUnit;
            m_batchStart = m_captureStart;
            m_batchParentDepth = depth;
        }
        m_batchEnd = m_pos;
        m_captureUnit = -1;
    } else if (m_batchUnit >= 0 && depth < m_batchParentDepth) {
        if (!flushBatch())
            return Step::Failed;
    }
    return Step::Done;
}

bool XmlElementStream::flushBatch()
{
    if (m_batchUnit < 0)
        return true;
    const int unit = m_batchUnit;
    m_batchUnit = -1;
    const std::size_t start = m_batchStart;
    const char *unitName = nullptr;
    for (const PathNode &node : m_nodes)
        if (node.unit == unit)
            unitName = node.name.c_str();

    if (m_work) {
        // The bytes are copied: the buffer moves on while the batch is parsed elsewhere.
        auto bytes = std::make_shared<std::string>(m_buffer.data() + start, m_batchEnd - start);
        const quint64 offset = m_consumed + start;
        const BatchWork *work = m_work;
        m_inFlight.push_back(std::async(std::launch::async, [bytes, offset, unit, unitName, work]() {
            Outcome outcome;
            pugi::xml_document document;
            const pugi::xml_parse_result parsed =
                document.load_buffer_inplace(bytes->data(), bytes->size(), ParseOptions, pugi::encoding_utf8);
            if (!parsed) {
                outcome.error = QStringLiteral("The XML part is malformed near byte %1: %2.")
                                    .arg(offset + quint64(parsed.offset))
                                    .arg(QString::fromUtf8(parsed.description()));
                return outcome;
            }
            std::vector<pugi::xml_node> units;
            for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling())
                if (node.type() == pugi::node_element && std::strcmp(localName(node.name()), unitName) == 0)
                    units.push_back(node);
            outcome.result = work->map(unit, units);
            return outcome;
        }));
        while (m_inFlight.size() >= m_maxInFlight && !m_stopped)
            if (!deliverOldest())
                return false;
        return true;
    }

    const pugi::xml_parse_result parsed = m_document.load_buffer_inplace(
        m_buffer.data() + start, m_batchEnd - start, ParseOptions, pugi::encoding_utf8);
    if (!parsed) {
        m_document.reset();
        return fail(QStringLiteral("The XML part is malformed near byte %1: %2.")
                        .arg(m_consumed + start + quint64(parsed.offset))
                        .arg(QString::fromUtf8(parsed.description())));
    }
    for (pugi::xml_node node = m_document.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element || std::strcmp(localName(node.name()), unitName) != 0)
            continue;
        if (!(*m_handler)(unit, node)) {
            m_stopped = true;
            break;
        }
    }
    m_document.reset();
    return true;
}
