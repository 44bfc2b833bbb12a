#pragma once

#include "document/InsertGraphicsCommand.h"

// Takes elements out of a list (delete, cut); undoing puts each back at its old position.
class RemoveGraphicsCommand : public GraphicEditCommand
{
public:
    // `elements` not in the list are ignored.
    RemoveGraphicsCommand(LMNDocument *document, GraphicList *list, const GraphicList &elements,
                          const QString &text);

    bool isEmpty() const { return m_placements.isEmpty(); }

protected:
    void apply() override { InsertGraphicsCommand::removeAll(*list(), m_placements); }
    void revert() override { InsertGraphicsCommand::insertAll(*list(), m_placements); }
    GraphicList affected() const override;

private:
    QList<InsertGraphicsCommand::Placement> m_placements; // ascending by index
};
