#pragma once

#include <optional>

#include <QSizeF>
#include <QString>

class Card_Property;
class LMNDocument;
class LMNGraphicView;
class LMNGrid;
class SettingsPanel;
class QWidget;

// What the property panels need of the editor window around them. The editor window
// implements it with one-line forwarders; every call is made on the main thread.
class PanelHost
{
public:
    virtual ~PanelHost();

    virtual SettingsPanel *settingsPanel() const = 0;
    virtual QWidget *panelWindow() = 0;
    virtual LMNDocument *panelDocument() const = 0;
    // The canvas of a side: 0 the front, any other value the back.
    virtual LMNGraphicView *sideCanvas(int side) const = 0;
    // The card background record of a side: 0 the front, any other value the back.
    virtual Card_Property &cardRecord(int side) = 0;
    virtual LMNGrid *panelGrid() const = 0;

    // Reads the whole card panel into the record of the side in work and redraws.
    virtual void Update_Card_Graphics() = 0;
    // Redraws the canvas of the side in work (nothing while a batch run fills the design).
    virtual void Refresh_Canvas() = 0;
    virtual void selectArrowTool() = 0;
    virtual void Undo_Redo_Button_state() = 0;
    // Lists the card sizes of a category in the size table.
    virtual void fillCardSizeList(const QString &category) = 0;
    virtual QSizeF cardSize() const = 0;
    // Gives the document and every canvas this card size in points.
    virtual void applyCardSize(const QSizeF &points) = 0;
    // Zooms every side so the whole card shows in the window.
    virtual void fitCardInWindow() = 0;

    // The editor's own windows the panels open: the stock-text picker ("T" titles, "M"
    // messages; the chosen text, nothing when the user cancelled) and the grid window.
    virtual std::optional<QString> openStockTextPicker(const QString &titleOrMessage) = 0;
    virtual void openGridWindow() = 0;
    // Shows the front side and its card pages.
    virtual void Select_front_side() = 0;
};
