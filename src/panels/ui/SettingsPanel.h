#pragma once

#include "document/CardFont.h"
#include "ui_SettingsPanel.h"

#include <QList>
#include <QMap>
#include <QWidget>

#include <memory>

class QButtonGroup;
class QStandardItemModel;
class LMNGraphic;
class Card_Property;

// The right-hand settings panel of the editor window: one tab view (`sett_tab`) that shows the
// card background of the side in work or the settings of one element. Its controls carry the
// names the rest of the system knows them by (Card_border_chk, Card_fill_clr, ColList, ...).
class SettingsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsPanel(QWidget *parent = nullptr);
    ~SettingsPanel() override;

    Ui::SettingsPanel ui;

    // The card-shape matrix: button ids 0 rectangle, 1 rounded rectangle, 2 ellipse.
    QButtonGroup *matrix_card_shape = nullptr;

    // The fifteen tab pages in their fixed order, kept so they can be put back after removal.
    QWidget *card_setting_tab = nullptr, *card_info_tab = nullptr, *card_size_tab = nullptr,
            *card_bkgd_tab = nullptr, *card_brdr_tab = nullptr, *line_tab = nullptr, *shape_tab = nullptr,
            *text_edtng_tab = nullptr, *text_prop_tab = nullptr, *image_tab = nullptr, *sign_tab = nullptr,
            *datasource_tab = nullptr, *aligmnt_tab = nullptr, *barcode_tab = nullptr, *Lock_tab = nullptr;

    // The card-size table: its rows ({"Extension": name}) and the model behind ColList.
    QList<QMap<QString, QString>> ListData;
    QStandardItemModel *ColListModel = nullptr;

    // The all-text font of the card and the last applied font and colour.
    CardFont All_Text_font;
    CardFont All_Text_font_COPY;
    QColor All_Text_clr_COPY;

    // The element the panel last showed; empty after the card was shown. Held weakly, so an
    // element deleted since is never taken for a new one made at the same address.
    std::weak_ptr<LMNGraphic> Last_Selected_Graphic;

    // --- The card-size table ---
    QString Get_Item_Text(int row) const;
    void Create_List(const QString &name);
    void Clear_List();
    void Mark_List_New_Selection(int row);
    int selectedSizeRow() const;

    // --- Tabs ---
    void Remove_All_Tab_Items();
    // Shows the card pages, filled from `record` (the record of the side in work).
    void showCard(const Card_Property &record, int cardShape);
    // Radios and enabled states of the card fill controls for a fill code ("S", "G", "H", "I").
    void card_prop_set(const QString &fillCode);

    // Reads the whole card panel into `record`; `side` is the side in work (0 front, 1 back),
    // `cardBounds` the front canvas's bounds.
    void readCardPanel(Card_Property &record, int side, const QRectF &cardBounds, int cardShape) const;

    // Fills the pattern list with the base names of the pictures in `folder`.
    void fillHatchStyles(const QString &folder);

    // A font as "%@ ( %0.2f )" of the family the font system draws it with and its size.
    static QString fontText(const CardFont &font);
    // Shows fontText in a field from its start: where the field is too narrow, the name is cut
    // at its end and the size stays whole; the whole text is the field's tool tip.
    static void showFont(QLineEdit *field, const CardFont &font);

signals:
    // A card control was changed by the user: the card record must be read back. `setting`
    // is what the user calls the setting the control changes ("Border Color").
    void cardPanelEdited(const QString &setting);
    // The user picked another row of the card-size table.
    void cardSizeRowChosen(int row);
    // The user switched to the back side with the panel's button.
    void backSideRequested();

private:
    void connectCardControls();
};
