#pragma once

#include "document/GraphicEditCommand.h"

#include <QList>

// Sets the print flag (print_object) of elements; undoing restores each one's own value.
class SetPrintFlagCommand : public GraphicEditCommand
{
public:
    SetPrintFlagCommand(LMNDocument *document, GraphicList *list, const GraphicList &elements, int value,
                        const QString &text);

    bool isEmpty() const { return m_elements.isEmpty(); }

protected:
    void apply() override;
    void revert() override;
    GraphicList affected() const override { return m_elements; }

private:
    GraphicList m_elements;
    QList<int> m_before;
    int m_value;
};
