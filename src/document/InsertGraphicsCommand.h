#pragma once

#include "document/GraphicEditCommand.h"

#include <QList>
#include <utility>

// Puts elements into a list at given positions (creating, pasting, duplicating); undoing
// takes them out again. Also the inverse of RemoveGraphicsCommand, which shares the list
// arithmetic below.
class InsertGraphicsCommand : public GraphicEditCommand
{
public:
    // One element and the index it takes in the list once every element is in place.
    using Placement = std::pair<qsizetype, GraphicPtr>;

    InsertGraphicsCommand(LMNDocument *document, GraphicList *list, QList<Placement> placements,
                          const QString &text);

    // The placements that put `elements` on top of the list, in their given order.
    static QList<Placement> onTop(const GraphicList &elements);

    // Inserts in ascending index order / removes in descending order, so indexes stay true.
    static void insertAll(GraphicList &list, const QList<Placement> &placements);
    static void removeAll(GraphicList &list, const QList<Placement> &placements);

protected:
    void apply() override { insertAll(*list(), m_placements); }
    void revert() override { removeAll(*list(), m_placements); }
    GraphicList affected() const override;

private:
    QList<Placement> m_placements; // ascending by index
};
