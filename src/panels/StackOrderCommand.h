#pragma once

#include "document/GraphicEditCommand.h"

// Brings elements to the front of their side (index 0, drawn last) or sends them to the
// back, keeping their order among themselves; undoes to the order before.
class StackOrderCommand : public GraphicEditCommand
{
public:
    StackOrderCommand(LMNDocument *document, GraphicList *list, const GraphicList &elements, bool toFront,
                      const QString &text);

    // The list would not change: the elements already stand there (or there are none).
    bool isEmpty() const { return m_after == m_before; }

    // The list with `elements` moved to the front or the back, in their list order.
    static GraphicList restacked(const GraphicList &list, const GraphicList &elements, bool toFront);

protected:
    void apply() override;
    void revert() override;
    GraphicList affected() const override { return m_elements; }

private:
    GraphicList m_elements;
    GraphicList m_before;
    GraphicList m_after;
};
