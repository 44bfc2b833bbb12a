#include "document/ElementStateChange.h"

#include "document/LMNGraphicField.h"
#include "document/LMNSignature.h"

#include <algorithm>

namespace {

// Pictures compare by their shared data: comparing pixels would cost more than the edit.
template<typename T>
bool sameValue(const T &a, const T &b)
{
    if constexpr (std::is_same_v<T, QImage>)
        return a.cacheKey() == b.cacheKey();
    else
        return a == b;
}

} // namespace

ElementStateChange::ElementStateChange() = default;
ElementStateChange::ElementStateChange(ElementStateChange &&) noexcept = default;
ElementStateChange &ElementStateChange::operator=(ElementStateChange &&) noexcept = default;
ElementStateChange::~ElementStateChange() = default;

ElementStateChange::ElementStateChange(const GraphicList &elements)
{
    m_entries.reserve(size_t(elements.size()));
    for (const GraphicPtr &element : elements) {
        if (!element)
            continue;
        const bool seen = std::any_of(m_entries.cbegin(), m_entries.cend(),
                                      [&element](const Entry &entry) { return entry.element == element; });
        if (!seen)
            m_entries.push_back({element, std::make_unique<LMNGraphic>(static_cast<const LMNGraphic &>(*element)), {}});
    }
}

void ElementStateChange::finish()
{
    const std::vector<LMNGraphicField> &fields = LMNGraphicField::all();
    for (Entry &entry : m_entries) {
        if (!entry.snapshot)
            continue;
        for (size_t i = 0; i < fields.size(); ++i) {
            std::visit(
                [&](auto member) {
                    const auto &before = (*entry.snapshot).*member;
                    const auto &after = (*entry.element).*member;
                    if (sameValue(before, after))
                        return;
                    FieldChange change{int(i), Value(before), Value(after), {}, {}};
                    if constexpr (std::is_same_v<std::remove_cvref_t<decltype(before)>, QImage>) {
                        change.bytesBefore = (*entry.snapshot).*LMNGraphic::storedBytesOf(member);
                        change.bytesAfter = (*entry.element).*LMNGraphic::storedBytesOf(member);
                    }
                    entry.fields.push_back(std::move(change));
                },
                fields[i].member);
        }
        entry.snapshot.reset();
    }
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(), [](const Entry &entry) { return entry.fields.empty(); }),
                    m_entries.end());
}

GraphicList ElementStateChange::elements() const
{
    GraphicList list;
    for (const Entry &entry : m_entries)
        list.append(entry.element);
    return list;
}

QStringList ElementStateChange::fieldNames() const
{
    const std::vector<LMNGraphicField> &fields = LMNGraphicField::all();
    QStringList names;
    for (const Entry &entry : m_entries)
        for (const FieldChange &change : entry.fields)
            if (!names.contains(QLatin1String(fields[size_t(change.field)].name)))
                names.append(QLatin1String(fields[size_t(change.field)].name));
    return names;
}

void ElementStateChange::restoreBefore() const
{
    restore(false);
}

void ElementStateChange::restoreAfter() const
{
    restore(true);
}

void ElementStateChange::restore(bool after) const
{
    const std::vector<LMNGraphicField> &fields = LMNGraphicField::all();
    for (const Entry &entry : m_entries) {
        bool picture = false;
        for (const FieldChange &change : entry.fields) {
            const Value &value = after ? change.after : change.before;
            std::visit(
                [&](auto member) {
                    using T = std::remove_reference_t<decltype((*entry.element).*member)>;
                    (*entry.element).*member = std::get<T>(value);
                    if constexpr (std::is_same_v<T, QImage>)
                        (*entry.element).*LMNGraphic::storedBytesOf(member) = after ? change.bytesAfter : change.bytesBefore;
                },
                fields[size_t(change.field)].member);
            const QLatin1String name(fields[size_t(change.field)].name);
            picture = picture || name == QLatin1String("_image") || name == QLatin1String("_file_path");
        }
        // A signature must take the picture it is given back as the one of its path.
        if (picture && entry.element->kind() == GraphicKind::Signature)
            static_cast<LMNSignature &>(*entry.element).adoptPicture();
    }
}

bool ElementStateChange::canAbsorb(const ElementStateChange &newer) const
{
    if (newer.m_entries.size() != m_entries.size())
        return false;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].element != newer.m_entries[i].element)
            return false;
    return true;
}

void ElementStateChange::absorb(const ElementStateChange &newer)
{
    for (const Entry &theirs : newer.m_entries) {
        const auto mine = std::find_if(m_entries.begin(), m_entries.end(),
                                       [&theirs](const Entry &entry) { return entry.element == theirs.element; });
        if (mine == m_entries.end()) {
            m_entries.push_back({theirs.element, nullptr, theirs.fields});
            continue;
        }
        std::vector<FieldChange> &own = mine->fields;
        for (const FieldChange &change : theirs.fields) {
            const auto found = std::find_if(own.begin(), own.end(),
                                            [&change](const FieldChange &field) { return field.field == change.field; });
            if (found != own.end()) {
                found->after = change.after;
                found->bytesAfter = change.bytesAfter;
            } else
                own.push_back(change);
        }
    }
}
