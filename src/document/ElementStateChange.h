#pragma once

#include "document/LMNGraphic.h"

#include <QStringList>

#include <memory>
#include <variant>
#include <vector>

// What an edit changed in some elements: for each element, the stored fields (those of the
// element archive) whose values differ, with their values before and after. It is made by
// copying the elements' fields before the edit and comparing them with the elements after
// it; only the differences are kept. Pictures are held by their shared data (the element's
// own picture, never a decoded or converted copy), so recording an effect slider on large
// pictures costs no picture memory at all; a picture goes back with the bytes it is stored as
// (LMNGraphic::storedBytesOf), so an undone change keeps a photo's own file.
class ElementStateChange
{
public:
    ElementStateChange();
    // Takes the fields of `elements` as they stand now (null entries are skipped).
    explicit ElementStateChange(const GraphicList &elements);
    ElementStateChange(ElementStateChange &&) noexcept;
    ElementStateChange &operator=(ElementStateChange &&) noexcept;
    ~ElementStateChange();

    // Compares the elements with the fields taken at construction and keeps what differs.
    void finish();

    bool isEmpty() const { return m_entries.empty(); }
    // The elements that changed, in the order given.
    GraphicList elements() const;
    // The names of the changed fields (their archive keys), each once.
    QStringList fieldNames() const;

    void restoreBefore() const;
    void restoreAfter() const;

    // Whether `newer`, a later change, touches the same elements: it can then be folded
    // into this one.
    bool canAbsorb(const ElementStateChange &newer) const;
    // Folds a later change into this one: the values before stay this one's (a field only
    // the newer change touched takes its value before), the values after become the newer's.
    void absorb(const ElementStateChange &newer);

private:
    using Value = std::variant<bool, int, float, double, QString, QColor, CardFont, QRectF, QImage>;
    struct FieldChange
    {
        int field;
        Value before;
        Value after;
        // For a picture: the bytes it is stored as, which go back with it.
        PictureBytes bytesBefore;
        PictureBytes bytesAfter;
    };
    struct Entry
    {
        GraphicPtr element;
        std::unique_ptr<LMNGraphic> snapshot;   // only until finish()
        std::vector<FieldChange> fields;
    };

    void restore(bool after) const;

    std::vector<Entry> m_entries;
};
