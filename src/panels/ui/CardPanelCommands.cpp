#include "panels/ui/CardPanelCommands.h"

#include "document/DocumentGlobals.h"
#include "document/PaintStyles.h"
#include "document/ui/LMNGraphicView.h"
#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"
#include "dialogs/ui/UiUtilities.h"
#include "panels/Card_Property.h"
#include "panels/PanelsGlobals.h"
#include "document/LMNDocument.h"
#include "panels/ui/BackgroundGallery.h"
#include "panels/ui/CardEditCommand.h"
#include "panels/ui/EditRun.h"
#include "panels/ui/ElementPanelCommands.h"
#include "panels/ui/FontChoice.h"
#include "panels/ui/PanelHost.h"
#include "panels/ui/SettingsPanel.h"

#include <QButtonGroup>
#include <QDir>
#include <QDockWidget>
#include <QMainWindow>
#include <QFileInfo>
#include <QFontDialog>

namespace {

constexpr double kPointsPerMillimetre = 2.834645669291;

} // namespace

CardPanelCommands::CardPanelCommands(PanelHost *host, ElementPanelCommands *elements, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_elements(elements)
{
    Ui::SettingsPanel &ui = m_host->settingsPanel()->ui;
    connect(m_host->settingsPanel(), &SettingsPanel::cardPanelEdited, this, &CardPanelCommands::cardPanelEdited);
    connect(ui.Card_fill_chk, &QCheckBox::clicked, this, &CardPanelCommands::Card_Fill_Chk_Box);
    connect(ui.Card_Image_browse_btn, &QPushButton::clicked, this, &CardPanelCommands::Card_Image_Browse_Btn);
    connect(ui.Card_Image_Library_btn, &QPushButton::clicked, this, &CardPanelCommands::Card_Image_Library_Btn);
    connect(ui.All_Text_font_btn, &QPushButton::clicked, this, &CardPanelCommands::Content_Font_Clicked);
    connect(ui.All_Text_clr, &ColorWell::colorChanged, this, &CardPanelCommands::Contect_Color_Clicked);
    connect(m_host->settingsPanel()->matrix_card_shape, &QButtonGroup::idClicked, this,
            &CardPanelCommands::card_shape_CellClick);
    // Card_Width_Changed: / Card_Height_Changed: - a size typed and confirmed, or stepped with
    // the arrows by the user (not a size put into the fields by the program).
    for (QDoubleSpinBox *size : {ui.width_Stepper, ui.height_Stepper}) {
        connect(size, &QDoubleSpinBox::editingFinished, this, &CardPanelCommands::Apply_Size_Clicked);
        connect(size, &QDoubleSpinBox::valueChanged, this, [this, size] {
            if (size->hasFocus() && !Not_Draw_Only_Prop_Change)
                Apply_Size_Clicked();
        });
    }
}

void CardPanelCommands::recordCardEdit(const std::function<void()> &edit, const QString &text)
{
    LMNDocument *document = m_host->panelDocument();
    if (m_recording > 0 || Not_Draw_Only_Prop_Change || !document) {
        edit();
        return;
    }
    const int side = Card_Front_Or_Back != 0 ? 1 : 0;
    GraphicList &list = m_host->sideCanvas(side)->graphics();
    GraphicList texts;
    for (const GraphicPtr &graphic : list)
        if (graphic->kind() == GraphicKind::Text)
            texts.append(graphic);
    CardEditState before = CardEditState::of(*m_host);
    ElementStateChange textChange(texts);
    ++m_recording;
    try {
        edit();
    } catch (...) {
        --m_recording;
        throw;
    }
    --m_recording;
    textChange.finish();
    CardEditState after = CardEditState::of(*m_host);
    if (before == after && textChange.isEmpty())
        return;
    document->perform(new CardEditCommand(m_host, document, &list, std::move(before), std::move(after),
                                          std::move(textChange), text, m_elements->editRun()->current()),
                      /*alreadyApplied=*/true);
}

QString CardPanelCommands::stepName(const char *setting)
{
    return CardEditCommand::textFor({tr(setting)});
}

void CardPanelCommands::cardPanelEdited(const QString &setting)
{
    recordCardEdit([this] {
        m_host->Update_Card_Graphics();
        m_elements->sidesRule();
    }, CardEditCommand::textFor({setting}));
}

void CardPanelCommands::setBackground(int side, const QString &path)
{
    m_host->settingsPanel()->ui.Card_Image_path->setPlainText(path);
    if (path.isEmpty())
        return;
    Card_Property &record = m_host->cardRecord(side);
    record.Card_BG_Image = PaintStyles::readPicture(path);
    record.Card_fill_chk = true;
    record.Card_fill_style = QStringLiteral("I");
    record.Card_BG_Image_Path = path;
    m_elements->Show_RHS_Properties(nullptr);
    m_host->sideCanvas(side)->update();
}

void CardPanelCommands::set_Front_BG_Image(const QString &path)
{
    setBackground(0, path);
}

void CardPanelCommands::set_Back_BG_Image(const QString &path)
{
    setBackground(1, path);
}

void CardPanelCommands::useChosenPicture(const QString &path)
{
    QString message;
    if (!PaintStyles::checkPicture(path, &message)) {
        Show_Warning_MessageBox(message);
        return;
    }
    if (Card_Front_Or_Back != 0)
        set_Back_BG_Image(path);
    else
        set_Front_BG_Image(path);
}

BackgroundGallery *CardPanelCommands::createBackgroundGallery(QMainWindow *window)
{
    auto *dock = new QDockWidget(tr("Backgrounds"), window);
    dock->setObjectName(QStringLiteral("background_gallery_dock"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto *gallery = new BackgroundGallery(dock);
    gallery->setMinimumWidth(100);   // one column of the smallest thumbnails
    dock->setWidget(gallery);
    window->addDockWidget(Qt::LeftDockWidgetArea, dock);
    gallery->pictureChosen = [this](const QString &path) { galleryPictureChosen(path); };
    return gallery;
}

void CardPanelCommands::galleryPictureChosen(const QString &path)
{
    recordCardEdit([&] {
        QString message;
        if (!PaintStyles::checkPicture(path, &message)) {
            Show_Warning_MessageBox(message);
            return;
        }
        // The gallery sets the front's background: show the front, so the change is seen.
        if (Card_Front_Or_Back != 0)
            m_host->Select_front_side();
        set_Front_BG_Image(path);
        m_host->Refresh_Canvas();
    }, stepName(QT_TR_NOOP("Background Picture")));
}

void CardPanelCommands::Apply_Size_Clicked()
{
    recordCardEdit([&] {
        const Ui::SettingsPanel &ui = m_host->settingsPanel()->ui;
        const QSizeF points(float(ui.width_Stepper->value() * kPointsPerMillimetre),
                            float(ui.height_Stepper->value() * kPointsPerMillimetre));
        m_host->applyCardSize(points);
        m_host->sideCanvas(0)->Refresh_ScrollView();
        Update_All_Card_Content();
    }, stepName(QT_TR_NOOP("Card Size")));
}

void CardPanelCommands::card_shape_CellClick(int shape)
{
    recordCardEdit([&] {
        Card_Shape = shape;
        Apply_Size_Clicked();
        m_host->Refresh_Canvas();
    }, stepName(QT_TR_NOOP("Card Shape")));
}

void CardPanelCommands::Card_Fill_Chk_Box()
{
    recordCardEdit([&] {
        SettingsPanel *panel = m_host->settingsPanel();
        SetObjEnabled(panel->ui.Card_Fill_Box, panel->ui.Card_fill_chk->isChecked() ? 1 : 0);
        // Ticking the fill again brings back the style the side's record holds.
        panel->card_prop_set(m_host->cardRecord(Card_Front_Or_Back != 0 ? 1 : 0).Card_fill_style);
        m_host->Update_Card_Graphics();
    }, stepName(QT_TR_NOOP("Fill")));
}

void CardPanelCommands::Card_Image_Browse_Btn()
{
    recordCardEdit([&] {
        QStringList patterns;
        for (const char *extension : {"jpg", "jpeg", "jpe", "jfif", "gif", "bmp", "png", "tif", "tiff"})
            patterns << QStringLiteral("*.") + QString::fromLatin1(extension)
                     << QStringLiteral("*.") + QString::fromLatin1(extension).toUpper();
        const QString path = ModalSeam::instance().openFileName(
            m_host->panelWindow(), tr("Choose a Card Picture"), QDir(Resource_Path).filePath(QStringLiteral("Background")),
            tr("Pictures (%1)").arg(patterns.join(QLatin1Char(' '))));
        if (path.isEmpty())
            return;
        useChosenPicture(path);
        m_host->Update_Card_Graphics();
    }, stepName(QT_TR_NOOP("Background Picture")));
}

void CardPanelCommands::Card_Image_Library_Btn()
{
    recordCardEdit([&] {
        if (m_elements->Open_Image_Library_Window(QStringLiteral("B")) == 1)
            useChosenPicture(lib_window_sel_file);
        m_host->Update_Card_Graphics();
    }, stepName(QT_TR_NOOP("Background Picture")));
}

void CardPanelCommands::Content_Font_Clicked()
{
    SettingsPanel *panel = m_host->settingsPanel();
    CardFont font = panel->All_Text_font;
    if (!FontChoice::ask(m_host->panelWindow(), font))
        return;
    // changeAllTextFont:
    panel->All_Text_font = font;
    SettingsPanel::showFont(panel->ui.All_Text_font_value, font);
    recordCardEdit([this] { Update_All_Card_Content(); }, stepName(QT_TR_NOOP("Font")));
}

void CardPanelCommands::Contect_Color_Clicked()
{
    recordCardEdit([this] { Update_All_Card_Content(); }, stepName(QT_TR_NOOP("Text Color")));
}

void CardPanelCommands::Update_All_Card_Content()
{
    recordCardEdit([&] {
        SettingsPanel *panel = m_host->settingsPanel();
        const QColor color = panel->ui.All_Text_clr->color();
        const bool colorChanged = color != panel->All_Text_clr_COPY;
        const bool fontChanged = !(panel->All_Text_font == panel->All_Text_font_COPY);
        for (const GraphicPtr &graphic : m_host->sideCanvas(Card_Front_Or_Back != 0 ? 1 : 0)->graphics()) {
            if (graphic->kind() != GraphicKind::Text)
                continue;
            if (colorChanged)
                graphic->txt_clr = color;
            if (fontChanged)
                graphic->text_ctrl_font = panel->All_Text_font;
        }
        m_host->Update_Card_Graphics();
    });
}
