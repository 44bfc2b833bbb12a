#include "data/XmlElementStream.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t MaxDepth = 2000;
// Units of one batch are parsed together once this many bytes are waiting.
constexpr std::size_t BatchBytes = 1 << 20;
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
    if (m_end == m_buffer.size())
        m_buffer.resize(m_buffer.size() * 2);

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
    const pugi::xml_parse_result parsed = m_document.load_buffer_inplace(
        m_buffer.data() + start, m_batchEnd - start, ParseOptions, pugi::encoding_utf8);
    if (!parsed) {
        m_document.reset();
        return fail(QStringLiteral("The XML part is malformed near byte %1: %2.")
                        .arg(m_consumed + start + quint64(parsed.offset))
                        .arg(QString::fromUtf8(parsed.description())));
    }
    const std::string *unitName = nullptr;
    for (const PathNode &node : m_nodes)
        if (node.unit == unit)
            unitName = &node.name;
    for (pugi::xml_node node = m_document.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element || std::strcmp(localName(node.name()), unitName->c_str()) != 0)
            continue;
        if (!(*m_handler)(unit, node)) {
            m_stopped = true;
            break;
        }
    }
    m_document.reset();
    return true;
}
