#include "document/InsertGraphicsCommand.h"
#include "document/LMNDocument.h"
#include "document/RemoveGraphicsCommand.h"

#include <gtest/gtest.h>

namespace {

GraphicList makeElements(int count)
{
    GraphicList list;
    for (int i = 0; i < count; ++i) {
        GraphicPtr g = LMNGraphic::create(GraphicKind::Shape);
        g->setBounds(QRectF(i * 10, 0, 5, 5));
        list.append(g);
    }
    return list;
}

} // namespace

TEST(Document, RemovingAndUndoingRestoresEveryElementAtItsOwnPosition)
{
    LMNDocument document;
    document.graphics = makeElements(6);
    const GraphicList original = document.graphics;

    // Remove the 1st, 3rd and 6th element (positions 0, 2, 5).
    document.perform(new RemoveGraphicsCommand(&document, &document.graphics,
                                               {original[5], original[0], original[2]}, QStringLiteral("Delete")));
    EXPECT_EQ(document.graphics, GraphicList({original[1], original[3], original[4]}));

    document.undoManager()->undo();
    EXPECT_EQ(document.graphics, original);
    document.undoManager()->redo();
    EXPECT_EQ(document.graphics, GraphicList({original[1], original[3], original[4]}));
}

TEST(Document, InsertedElementsGoOnTopInTheirOrderAndUndoFindsThemWhereverTheyMoved)
{
    LMNDocument document;
    document.graphics = makeElements(2);
    const GraphicList below = document.graphics;
    const GraphicList added = makeElements(2);
    document.perform(new InsertGraphicsCommand(&document, &document.graphics, InsertGraphicsCommand::onTop(added),
                                               QStringLiteral("Paste")));
    EXPECT_EQ(document.graphics, GraphicList({added[0], added[1], below[0], below[1]}));
    document.undoManager()->undo();
    EXPECT_EQ(document.graphics, below);

    // Panels and loaders change lists directly; taking back an insertion must still remove
    // exactly the inserted element, never a neighbour.
    document.undoManager()->redo();
    const GraphicPtr stranger = LMNGraphic::create(GraphicKind::Text);
    document.graphics.insert(0, stranger);
    document.undoManager()->undo();
    EXPECT_EQ(document.graphics, GraphicList({stranger, below[0], below[1]}));
}

TEST(Document, RegistrationOffPerformsWithoutHistory)
{
    LMNDocument document;
    const GraphicList added = makeElements(1);
    document.disableUndoRegistration();
    document.disableUndoRegistration(); // nests
    document.enableUndoRegistration();
    EXPECT_FALSE(document.isUndoRegistrationEnabled());
    document.perform(new InsertGraphicsCommand(&document, &document.graphics, InsertGraphicsCommand::onTop(added),
                                               QStringLiteral("Create")));
    EXPECT_EQ(document.graphics.size(), 1);
    EXPECT_EQ(document.undoManager()->count(), 0);
    document.enableUndoRegistration();
    EXPECT_TRUE(document.isUndoRegistrationEnabled());
}

TEST(Document, EditGroupsUndoAsOneStep)
{
    LMNDocument document;
    document.graphics = makeElements(3);
    const GraphicList original = document.graphics;
    document.beginEditGroup(QStringLiteral("Cut"));
    document.perform(new RemoveGraphicsCommand(&document, &document.graphics, {original[0]}, QStringLiteral("a")));
    document.perform(new RemoveGraphicsCommand(&document, &document.graphics, {original[2]}, QStringLiteral("b")));
    document.endEditGroup();
    document.endEditGroup(); // unmatched: harmless
    EXPECT_EQ(document.undoManager()->count(), 1);
    document.undoManager()->undo();
    EXPECT_EQ(document.graphics, original);
}
