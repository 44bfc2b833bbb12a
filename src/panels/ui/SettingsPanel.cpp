#include "panels/ui/SettingsPanel.h"

#include "document/LMNGraphic.h"
#include "document/PaintStyles.h"
#include "panels/Card_Property.h"
#include "panels/ElementTabValues.h"
#include "panels/ui/FontField.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QHeaderView>
#include <QPixmap>
#include <QStandardItemModel>

#include <algorithm>

namespace {

void selectText(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    if (index >= 0)
        combo->setCurrentIndex(index);
}

} // namespace

SettingsPanel::SettingsPanel(QWidget *parent)
    : QWidget(parent)
{
    ui.setupUi(this);

    card_setting_tab = ui.card_setting_tab;
    card_info_tab = ui.card_info_tab;
    card_size_tab = ui.card_size_tab;
    card_bkgd_tab = ui.card_bkgd_tab;
    card_brdr_tab = ui.card_brdr_tab;
    line_tab = ui.line_tab;
    shape_tab = ui.shape_tab;
    text_edtng_tab = ui.text_edtng_tab;
    text_prop_tab = ui.text_prop_tab;
    image_tab = ui.image_tab;
    sign_tab = ui.sign_tab;
    datasource_tab = ui.datasource_tab;
    aligmnt_tab = ui.aligmnt_tab;
    barcode_tab = ui.barcode_tab;
    Lock_tab = ui.Lock_tab;

    // The element pages wait in reserve until an element is shown.
    for (QWidget *tab : {line_tab, shape_tab, text_edtng_tab, text_prop_tab, image_tab, sign_tab,
                         datasource_tab, aligmnt_tab, barcode_tab, Lock_tab})
        ui.sett_tab->removeTab(ui.sett_tab->indexOf(tab));

    matrix_card_shape = new QButtonGroup(this);
    matrix_card_shape->addButton(ui.card_shape_rect, 0);
    matrix_card_shape->addButton(ui.card_shape_rounded, 1);
    matrix_card_shape->addButton(ui.card_shape_ellipse, 2);
    ui.card_shape_rect->setChecked(true);

    auto *fillRadios = new QButtonGroup(this);
    for (QRadioButton *radio : {ui.Card_solid_fill_rd, ui.Card_gradient_fill_rd, ui.Card_Style_fill_rd, ui.Card_Image_fill_rd})
        fillRadios->addButton(radio);

    ColListModel = new QStandardItemModel(0, 1, this);
    ColListModel->setHorizontalHeaderLabels({tr("Size")});
    ui.ColList->setModel(ColListModel);
    ui.ColList->horizontalHeader()->setStretchLastSection(true);
    ui.ColList->verticalHeader()->hide();

    ui.Card_image_layout->setCurrentIndex(1);
    ui.Card_bor_Stepper->setValue(3);
    ui.Card_border_style->setCurrentIndex(0);
    ui.Sides_ComboBox->setCurrentIndex(0);
    card_prop_set(QStringLiteral("S"));

    connectCardControls();
}

SettingsPanel::~SettingsPanel() = default;

void SettingsPanel::connectCardControls()
{
    // Each control names the setting it changes, so the step is named after what the user
    // touched rather than what reading the panel back tidied up.
    auto edited = [this](const char *setting) { return [this, setting] { emit cardPanelEdited(tr(setting)); }; };
    // The fill check box, the all-text colour and font, the picture buttons and the size are
    // the card commands' own (CardPanelCommands).
    connect(ui.Card_border_chk, &QCheckBox::clicked, this, edited(QT_TR_NOOP("Card Border")));
    connect(ui.Card_border_chk, &QCheckBox::toggled, ui.Card_Border_Box, &QWidget::setEnabled);
    const QList<std::pair<QRadioButton *, QString>> radios = {
        {ui.Card_solid_fill_rd, QStringLiteral("S")}, {ui.Card_gradient_fill_rd, QStringLiteral("G")},
        {ui.Card_Style_fill_rd, QStringLiteral("H")}, {ui.Card_Image_fill_rd, QStringLiteral("I")}};
    for (const auto &[radio, code] : radios) {
        connect(radio, &QRadioButton::clicked, this, [this, code = code] {
            card_prop_set(code);
            emit cardPanelEdited(tr("Fill Style"));
        });
    }
    const QList<std::pair<ColorWell *, const char *>> wells = {
        {ui.Card_bordr_clr, QT_TR_NOOP("Border Color")},     {ui.Card_fill_clr, QT_TR_NOOP("Fill Color")},
        {ui.Card_fill_Grd_1_clr, QT_TR_NOOP("Gradient Color")}, {ui.Card_fill_Grd_2_clr, QT_TR_NOOP("Gradient Color")},
        {ui.Card_hatch_bk_clr, QT_TR_NOOP("Pattern Color")}};
    for (const auto &[well, setting] : wells)
        connect(well, &ColorWell::colorChanged, this, edited(setting));
    const QList<std::pair<QSpinBox *, const char *>> spins = {{ui.Card_bor_Stepper, QT_TR_NOOP("Border Width")},
                                                              {ui.Card_grad_Stepper, QT_TR_NOOP("Gradient Angle")},
                                                              {ui.Card_alpha_Stepper, QT_TR_NOOP("Opacity")}};
    for (const auto &[spin, setting] : spins)
        connect(spin, &QSpinBox::valueChanged, this, edited(setting));
    const QList<std::pair<QComboBox *, const char *>> combos = {
        {ui.Card_border_style, QT_TR_NOOP("Border Style")}, {ui.Card_hatch_style, QT_TR_NOOP("Pattern")},
        {ui.Card_image_layout, QT_TR_NOOP("Picture Layout")}, {ui.Sides_ComboBox, QT_TR_NOOP("Sides")},
        {ui.Preset_ComboBox, QT_TR_NOOP("Orientation")},     {ui.Category_ComboBox, QT_TR_NOOP("Card Size")}};
    for (const auto &[combo, setting] : combos)
        connect(combo, &QComboBox::activated, this, edited(setting));
    connect(ui.card_name, &QLineEdit::editingFinished, this, edited(QT_TR_NOOP("Card Name")));
    connect(ui.Back_Side_btn, &QPushButton::clicked, this, &SettingsPanel::backSideRequested);
    connect(ui.ColList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const int row = selectedSizeRow();
        if (row >= 0)
            emit cardSizeRowChosen(row);
    });
}

QString SettingsPanel::Get_Item_Text(int row) const
{
    if (row < 0 || row >= ListData.size())
        return {};
    return ListData.at(row).value(QStringLiteral("Extension"));
}

void SettingsPanel::Create_List(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return;
    ListData.append({{QStringLiteral("Extension"), trimmed}});
    ColListModel->appendRow(new QStandardItem(trimmed));
}

void SettingsPanel::Clear_List()
{
    ListData.clear();
    ColListModel->removeRows(0, ColListModel->rowCount());
}

void SettingsPanel::Mark_List_New_Selection(int row)
{
    QItemSelectionModel *selection = ui.ColList->selectionModel();
    if (row < 0 || row >= ColListModel->rowCount()) {
        selection->clearSelection();
        return;
    }
    selection->select(ColListModel->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selection->setCurrentIndex(ColListModel->index(row, 0), QItemSelectionModel::NoUpdate);
}

int SettingsPanel::selectedSizeRow() const
{
    const QModelIndexList rows = ui.ColList->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SettingsPanel::Remove_All_Tab_Items()
{
    while (ui.sett_tab->count() > 0)
        ui.sett_tab->removeTab(0);
}

void SettingsPanel::showCard(const Card_Property &record, int cardShape)
{
    // Shown again while the card was in the panel (after undo, redo or a side switch), the
    // card keeps the page the user is on; after an element it opens on its first page.
    QWidget *const cardPages[] = {card_setting_tab, card_size_tab, card_bkgd_tab, card_brdr_tab};
    QWidget *page = ui.sett_tab->currentWidget();
    if (std::find(std::begin(cardPages), std::end(cardPages), page) == std::end(cardPages))
        page = card_setting_tab;
    Last_Selected_Graphic.reset();
    Remove_All_Tab_Items();
    ui.sett_tab->insertTab(0, card_setting_tab, tr("Card"));
    ui.sett_tab->insertTab(1, card_size_tab, tr("Size"));
    ui.sett_tab->insertTab(2, card_bkgd_tab, tr("Background"));
    ui.sett_tab->insertTab(3, card_brdr_tab, tr("Border"));
    ui.sett_tab->setCurrentWidget(page);

    const QSignalBlocker blockBorderStyle(ui.Card_border_style);
    ui.Card_border_chk->setChecked(record.Card_border_chk);
    ui.Card_bordr_clr->setColor(record.Card_bordr_clr);
    ui.Card_bor_Stepper->blockSignals(true);
    ui.Card_bor_Stepper->setValue(record.Card_bor_Stepper);
    ui.Card_bor_Stepper->blockSignals(false);
    // A code that is not one of the five selects nothing, so the next read-back keeps it.
    ui.Card_border_style->setCurrentIndex(BorderCodes::indexOf(record.Card_border_style));
    ui.Card_fill_chk->blockSignals(true);
    ui.Card_fill_chk->setChecked(record.Card_fill_chk);
    ui.Card_fill_chk->blockSignals(false);
    ui.Card_fill_clr->setColor(record.Card_fill_clr);
    ui.Card_fill_Grd_1_clr->setColor(record.Card_fill_Grd_1_clr);
    ui.Card_fill_Grd_2_clr->setColor(record.Card_fill_Grd_2_clr);
    ui.Card_grad_Stepper->blockSignals(true);
    ui.Card_grad_Stepper->setValue(record.Card_grad_Stepper);
    ui.Card_grad_Stepper->blockSignals(false);
    ui.Card_hatch_bk_clr->setColor(record.Card_hatch_bk_clr);
    if (record.Card_fill_style == QLatin1String("H")) {
        if (record.Card_hatch_style.isEmpty())
            ui.Card_hatch_style->setCurrentIndex(-1);
        else
            selectText(ui.Card_hatch_style, record.Card_hatch_style);
    }
    ui.Card_alpha_Stepper->blockSignals(true);
    ui.Card_alpha_Stepper->setValue(qRound(std::min(record.Card_alpha_Stepper, 1.0f) * 100.0f));
    ui.Card_alpha_Stepper->blockSignals(false);
    ui.Card_Image_path->blockSignals(true);
    ui.Card_Image_path->setPlainText(record.Card_BG_Image_Path);
    ui.Card_Image_path->blockSignals(false);
    selectText(ui.Card_image_layout, record.Card_BG_Image_Layout);
    ui.All_Text_clr->setColor(record.Card_Content_clr);
    All_Text_clr_COPY = record.Card_Content_clr;
    All_Text_font = record.Card_Content_font;
    All_Text_font_COPY = record.Card_Content_font;
    showFont(ui.All_Text_font_value, record.Card_Content_font);

    if (QAbstractButton *shape = matrix_card_shape->button(cardShape == 1 || cardShape == 2 ? cardShape : 0))
        shape->setChecked(true);
    ui.card_name->setText(record.Card_Name);
    ui.Sides_ComboBox->setCurrentIndex(record.Card_Side == QLatin1String("1") ? 1 : 0);
    selectText(ui.Preset_ComboBox, record.Card_Preset);
    selectText(ui.Category_ComboBox, record.Card_Category);
    {
        const QSignalBlocker blockSelection(ui.ColList->selectionModel());
        Mark_List_New_Selection(record.Card_Cat_index);
    }
    ui.width_Stepper->setValue(record.Card_Size.width() * 0.3527777777778);
    ui.height_Stepper->setValue(record.Card_Size.height() * 0.3527777777778);
    card_prop_set(record.Card_fill_style);
}

void SettingsPanel::card_prop_set(const QString &fillCode)
{
    const bool gradient = fillCode == QLatin1String("G");
    const bool hatch = fillCode == QLatin1String("H");
    const bool picture = fillCode == QLatin1String("I");
    const bool solid = !gradient && !hatch && !picture;
    ui.Card_gradient_fill_rd->setChecked(gradient);
    ui.Card_Style_fill_rd->setChecked(hatch);
    ui.Card_Image_fill_rd->setChecked(picture);
    ui.Card_solid_fill_rd->setChecked(solid);

    ui.Card_Border_Box->setEnabled(ui.Card_border_chk->isChecked());
    ui.Card_Fill_Box->setEnabled(ui.Card_fill_chk->isChecked());

    ui.Card_fill_clr->setEnabled(solid);
    ui.Card_fill_Grd_1_clr->setEnabled(gradient);
    ui.Card_fill_Grd_2_clr->setEnabled(gradient);
    ui.Card_grad_Stepper->setEnabled(gradient);
    ui.Card_hatch_style->setEnabled(hatch);
    ui.Card_hatch_bk_clr->setEnabled(hatch);
    ui.Card_image_box->setEnabled(picture);
}

void SettingsPanel::readCardPanel(Card_Property &record, int side, const QRectF &cardBounds, int cardShape) const
{
    if (ui.Card_border_chk->isChecked()) {
        record.Card_border_chk = true;
        record.Card_bordr_clr = ui.Card_bordr_clr->color();
        record.Card_bor_Stepper = ui.Card_bor_Stepper->value();
    } else {
        record.Card_border_chk = false;
    }
    const int borderIndex = ui.Card_border_style->currentIndex();
    if (const auto code = BorderCodes::codeAt(borderIndex))
        record.Card_border_style = *code;

    const float alpha = float(ui.Card_alpha_Stepper->value()) / 100.0f;
    auto withAlpha = [alpha](QColor color) {
        color.setAlphaF(std::clamp(alpha, 0.0f, 1.0f));
        return color;
    };
    if (ui.Card_fill_chk->isChecked()) {
        record.Card_fill_chk = true;
        record.Card_fill_clr = withAlpha(ui.Card_fill_clr->color());
    } else {
        record.Card_fill_chk = false;
    }
    QString style = ui.Card_gradient_fill_rd->isChecked() ? QStringLiteral("G")
                    : ui.Card_Style_fill_rd->isChecked()  ? QStringLiteral("H")
                    : ui.Card_Image_fill_rd->isChecked()  ? QStringLiteral("I")
                                                          : QStringLiteral("S");
    // The back side only keeps a special fill while its fill is on.
    if (side != 0 && !ui.Card_fill_chk->isChecked())
        style = QStringLiteral("S");
    record.Card_fill_style = style;

    record.Card_fill_Grd_1_clr = withAlpha(ui.Card_fill_Grd_1_clr->color());
    record.Card_fill_Grd_2_clr = withAlpha(ui.Card_fill_Grd_2_clr->color());
    record.Card_grad_Stepper = ui.Card_grad_Stepper->value();
    record.Card_hatch_bk_clr = withAlpha(ui.Card_hatch_bk_clr->color());
    if (ui.Card_hatch_style->currentIndex() >= 0)
        record.Card_hatch_style = ui.Card_hatch_style->currentText();
    record.Card_BG_Image_Path = ui.Card_Image_path->toPlainText();
    if (ui.Card_image_layout->currentIndex() >= 0)
        record.Card_BG_Image_Layout = ui.Card_image_layout->currentText();
    record.Card_alpha_Stepper = alpha;
    record.Card_Content_clr = ui.All_Text_clr->color();
    record.Card_Content_font = All_Text_font;
    record.Card_Side = ui.Sides_ComboBox->currentIndex() == 0 ? QStringLiteral("2") : QStringLiteral("1");
    record.Card_Side_Name = side == 1 ? QStringLiteral("B") : QStringLiteral("F");
    record.Card_Shape = cardShape == 0 ? QStringLiteral("R") : cardShape == 1 ? QStringLiteral("RR") : QStringLiteral("E");
    const QString name = ui.card_name->text().trimmed();
    record.Card_Name = name.isEmpty() ? QStringLiteral("Untitled") : name;
    record.Card_Location = cardBounds.topLeft();
    record.Card_Size = cardBounds.size();
    if (ui.Preset_ComboBox->currentIndex() >= 0)
        record.Card_Preset = ui.Preset_ComboBox->currentText();
    if (ui.Category_ComboBox->currentIndex() >= 0)
        record.Card_Category = ui.Category_ComboBox->currentText();
    const int row = selectedSizeRow();
    record.Card_Sub_Category = row >= 0 ? Get_Item_Text(row) : QString();
    record.Card_Cat_index = row;
    record.Card_Create_Mode = QStringLiteral("W");
}

void SettingsPanel::fillHatchStyles(const QString &folder)
{
    ui.Card_hatch_style->clear();
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries)
        ui.Card_hatch_style->addItem(QIcon(QPixmap::fromImage(PaintStyles::cachedPicture(entry.filePath()))),
                                     entry.completeBaseName());
    if (ui.Card_hatch_style->count() > 0)
        ui.Card_hatch_style->setCurrentIndex(0);
    QStringList names;
    for (const QFileInfo &entry : entries)
        names.append(entry.completeBaseName());
    ui.shape_tab->fillHatchStyles(names);
}

QString SettingsPanel::fontText(const CardFont &font)
{
    return QStringLiteral("%1 ( %2 )").arg(QFontInfo(font.toQFont()).family()).arg(font.pointSize, 0, 'f', 2);
}

void SettingsPanel::showFont(QLineEdit *field, const CardFont &font)
{
    FontField::show(field, QFontInfo(font.toQFont()).family(), QStringLiteral("( %1 )").arg(font.pointSize, 0, 'f', 2));
}
