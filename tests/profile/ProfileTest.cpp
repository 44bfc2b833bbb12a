// The sender profile through the real dialogs: loading a side, the kind and choice rules,
// validation, writing the records, placing them as "Fup_" elements, the preview and the
// wizards' road. Series live in the test's own resource folder.

#include "../editor/EditorWindowFixture.h"

#include "barcode/ui/Barcode_Gen.h"
#include "data/DataSeries.h"
#include "data/SpreadsheetTable.h"
#include "document/DocumentGlobals.h"
#include "document/InsertGraphicsCommand.h"
#include "document/LMNBarcode.h"
#include "document/LMNImage.h"
#include "document/LMNText.h"
#include "document/ui/LMNGraphicView.h"
#include "editor/ui/Template_Wizard.h"
#include "panels/PanelsGlobals.h"
#include "profile/ui/ProfileCommands.h"
#include "profile/ui/Show_User_Profile.h"
#include "profile/ui/User_profile.h"
#include "editor/ui/DesignFileCommands.h"
#include "support/TestHelpers.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolBar>
#include <QUndoStack>

namespace {

class Profile : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        startWithCard();   // CR80 lying: 243 x 154 points
        ASSERT_TRUE(DataSeries::writeValues(QStringLiteral("Guests"), {QStringLiteral("Anna"), QStringLiteral("Ben")},
                                            DataSeries::WriteMode::Replace));
        ASSERT_TRUE(DataSeries::writeValues(QStringLiteral("Companies"), {QStringLiteral("Acme"), QStringLiteral("Zeta")},
                                            DataSeries::WriteMode::Replace));
    }

    void TearDown() override { SpreadsheetTable::live() = SpreadsheetTable(); }

    // Runs the per-side dialog from the Profile command: `fill` sets rows, then OK. Returns
    // whether OK closed it (a refused OK is followed by Cancel).
    bool runProfile(const std::function<void(Show_User_Profile *)> &fill, const char *button = "OK_btn")
    {
        bool closed = false;
        m_seam.onDialog([&](QDialog *dialog) {
            auto *profile = qobject_cast<Show_User_Profile *>(dialog);
            EXPECT_NE(profile, nullptr);
            if (fill)
                fill(profile);
            profile->setResult(-1);
            QTest::mouseClick(profile->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
            closed = profile->result() != -1;
            if (!closed)
                QTest::mouseClick(profile->ui.Cancel_btn, Qt::LeftButton);
            return profile->result();
        });
        m_window->profile()->User_Profile_Button_Clicked();
        return closed;
    }

    static void type(QLineEdit *field, const QString &text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    QRectF placeholder(const char *name) const
    {
        return QRectF(Show_User_Profile::defaultInstance()->findChild<QWidget *>(QLatin1String(name))->geometry());
    }
};

} // namespace

TEST(ProfileRecord, ResetGivesTheIdentifiersAndEmptyTypedFields)
{
    User_Profile_Class record;
    record.field(3).setSeries(QStringLiteral("x"), 2);
    record.field(3).value = QStringLiteral("old");
    record.Reset_All_Values();
    const QStringList ids = {"Fup_Name", "Fup_Title", "Fup_Company", "Fup_CompanySlogan", "Fup_Address", "Fup_PhoneNO",
                             "Fup_FaxNo", "Fup_EmailID", "Fup_Website", "Fup_UniqueNo", "Fup_Photo"};
    for (int i = 0; i < ProfileFields::Count; ++i) {
        const User_Profile_Field &f = record.field(i);
        EXPECT_TRUE(f.id == ids.at(i) && f.sourceKind() == 0 && f.value.isEmpty() && f.ds_name.isEmpty()) << i;
    }
}

TEST_F(Profile, FirstOkPlacesNameAndEmailOnTheirPlaceholdersAndLaterOksKeepTheirPlaces)
{
    ASSERT_TRUE(runProfile([](Show_User_Profile *p) {
        type(p->ui.name_value, QStringLiteral("Carla Diaz"));
        type(p->ui.email_value, QStringLiteral("carla@example.org"));
    }));
    EXPECT_TRUE(m_window->profile()->Fill_User_Profile);
    const GraphicPtr name = findById(QStringLiteral("Fup_Name"));
    const GraphicPtr email = findById(QStringLiteral("Fup_EmailID"));
    ASSERT_TRUE(name && email);
    EXPECT_EQ(m_document.graphics.first(), email);   // placed last, topmost
    EXPECT_TRUE(name->bounds() == placeholder("name_default") && email->bounds() == placeholder("email_default"));
    EXPECT_EQ(name->Text_Value, QStringLiteral("Carla Diaz"));
    const int count = m_document.graphics.size();

    // The user moves the name; the e-mail is emptied: it stays, hidden, with its old text.
    name->setBounds(QRectF(100, 100, 80, 20));
    ASSERT_TRUE(runProfile([](Show_User_Profile *p) {
        EXPECT_EQ(p->ui.name_value->text(), QStringLiteral("Carla Diaz"));   // loaded from the side
        type(p->ui.email_value, QString());
        type(p->ui.name_value, QStringLiteral("Carla D."));
    }));
    EXPECT_EQ(m_document.graphics.size(), count);
    EXPECT_TRUE(name->bounds() == QRectF(100, 100, 80, 20) && name->Text_Value == QLatin1String("Carla D."));
    EXPECT_TRUE(!email->ctrl_is_visible && email->Text_Value == QLatin1String("carla@example.org"));

    // Filled again, it comes back where it was. Cancel changes nothing.
    ASSERT_TRUE(runProfile([](Show_User_Profile *p) { type(p->ui.email_value, QStringLiteral("new@example.org")); }));
    EXPECT_TRUE(email->ctrl_is_visible && email->bounds() == placeholder("email_default"));
    runProfile([](Show_User_Profile *p) { type(p->ui.name_value, QStringLiteral("Nobody")); }, "Cancel_btn");
    EXPECT_EQ(name->Text_Value, QStringLiteral("Carla D."));
}

// Long answers on a CR80 card lying and standing: each placed text keeps to its frame (its
// wrapped lines, measured by QFontMetrics, no taller than the frame) at 6 points or more, and
// the chosen photo's pixels show in the photo's frame on the canvas.
TEST_F(Profile, LongAnswersFitTheirFramesAndThePhotoShowsOnBothOrientations)
{
    QImage photo(60, 40, QImage::Format_RGB32);
    photo.fill(QColor(255, 0, 255));
    const QString photoPath = QDir(m_resources.path()).filePath(QStringLiteral("photo.png"));
    ASSERT_TRUE(photo.save(photoPath));
    for (const QSizeF card : {QSizeF(243, 154), QSizeF(154, 243)}) {
        m_window->SetDocumentCanvasSize(card);
        m_document.graphics.clear();
        m_seam.chooseFiles({photoPath});
        ASSERT_TRUE(runProfile([](Show_User_Profile *p) {
            type(p->ui.name_value, QStringLiteral("Emma Margaret Richardson-Whitfield"));
            type(p->ui.title_value, QStringLiteral("Senior Events and Celebrations Coordinator"));
            type(p->ui.address_value, QStringLiteral("Flat 4, 1127 Long Meadow Road, Little Whinging"));
            type(p->ui.phone_value, QStringLiteral("+44 (0)20 7946 0958 ext. 4471"));
            type(p->ui.email_value, QStringLiteral("emma.richardson-whitfield@example.com"));
            p->ui.browse_pic_btn->click();
        }));
        int texts = 0;
        for (const GraphicPtr &g : std::as_const(m_document.graphics)) {
            if (g->kind() != GraphicKind::Text || !g->control_ID.startsWith(QLatin1String("Fup_")))
                continue;
            ++texts;
            const auto &text = static_cast<const LMNText &>(*g);
            const QRectF frame = g->bounds();
            const QRectF lines = QFontMetricsF(text.drawingFont())
                                     .boundingRect(QRectF(0, 0, frame.width() - 2 * LMNText::kTextPadding, 1e6),
                                                   Qt::TextWordWrap | Qt::TextWrapAnywhere, text.displayedText());
            EXPECT_LE(lines.height(), frame.height()) << g->control_ID.toStdString() << " on " << card.width();
            EXPECT_GE(g->text_ctrl_font.pointSize, 6.0) << g->control_ID.toStdString();
        }
        EXPECT_EQ(texts, 5);
        const GraphicPtr placed = findById(QStringLiteral("Fup_Photo"));
        ASSERT_TRUE(placed);
        LMNGraphicView *canvas = m_window->_graphicView;
        const QImage shown = canvas->grab().toImage();
        const QPointF centre = placed->bounds().center() * canvas->zoom();
        EXPECT_EQ(shown.pixelColor(centre.toPoint()), QColor(255, 0, 255)) << "on " << card.width();
    }
    // What cannot fit even at 6 points stays cut off, and so is marked on the canvas.
    ASSERT_TRUE(runProfile([](Show_User_Profile *p) { type(p->ui.unique_value, QString(300, QLatin1Char('9'))); }));
    const GraphicPtr unique = findById(QStringLiteral("Fup_UniqueNo"));
    ASSERT_TRUE(unique);
    EXPECT_EQ(unique->text_ctrl_font.pointSize, 6.0);
    EXPECT_TRUE(static_cast<const LMNText &>(*unique).isTextClipped());
}

TEST_F(Profile, PlaceholdersFollowTheFrontCardsShapeOnEverySide)
{
    // Portrait; a square counts as lying; the back follows the front's size.
    for (const auto &[card, side, name] : {std::tuple{QSizeF(154, 243), 0, "comp_name_default_V"},
                                           {QSizeF(200, 200), 0, "comp_name_default"}, {QSizeF(154, 243), 1, "comp_name_default_V"}}) {
        m_window->SetDocumentCanvasSize(card);
        m_window->Front_card_Prop.Card_Size = card;
        side ? m_window->Select_back_side() : m_window->Select_front_side();
        GraphicList &list = side ? m_document.graphics_back : m_document.graphics;
        list.clear();
        ASSERT_TRUE(runProfile([](Show_User_Profile *p) { type(p->ui.comp_name_value, QStringLiteral("Acme")); }));
        ASSERT_FALSE(list.isEmpty());
        EXPECT_EQ(list.first()->bounds(), placeholder(name)) << name;
        EXPECT_TRUE(QRectF(QPointF(0, 0), card).contains(list.first()->bounds()));
    }
    EXPECT_TRUE(Show_User_Profile::defaultInstance()->windowTitle().startsWith(QStringLiteral("Back Side")));
}

TEST_F(Profile, BindingsAreWrittenInTheirThreeShapesAndOnlyOntoTheFieldsOwnElements)
{
    SpreadsheetTable table;
    table.titles = {QStringLiteral("Row"), QStringLiteral("First"), QStringLiteral("Last")};
    table.appendRecord({QStringLiteral("Dana"), QStringLiteral("Ray")}, 2);
    SpreadsheetTable::live() = table;
    // The user's own element is selected: no binding may land on it.
    m_window->setSelected_Control_Tool(2);
    m_window->_graphicView->createGraphicOfClass(GraphicKind::Text, nullptr, true, QRectF(5, 5, 40, 20),
                                                 QStringLiteral("F"), QStringLiteral("mine"), QString());
    const GraphicPtr mine = m_window->_graphicView->_Selected_Graphic;

    ASSERT_TRUE(runProfile([](Show_User_Profile *p) {
        p->Add_Excel_in_Data_Source_Combo();
        p->ui.comp_name_ds_combo->setCurrentIndex(1);
        p->ui.comp_name_ser_col_cb->setCurrentIndex(p->ui.comp_name_ser_col_cb->findText(QStringLiteral("Companies")));
        EXPECT_EQ(p->ui.comp_name_value->text(), QStringLiteral("Acme"));   // the series' first value
        p->ui.title_ds_combo->setCurrentIndex(2);
        p->ui.title_ser_col_cb->setCurrentIndex(2);                        // third title: column 2
        EXPECT_EQ(p->ui.title_value->text(), QStringLiteral("Ray"));
        p->ui.slogan_ds_combo->setCurrentIndex(1);
        p->ui.slogan_ser_col_cb->setCurrentIndex(0);
        p->ui.slogan_ds_combo->setCurrentIndex(0);                         // typed again
        type(p->ui.slogan_value, QStringLiteral("Best cards"));
    }));
    const User_Profile_Field &company = m_window->profile()->Front_user_profile.field(2);
    EXPECT_TRUE(company.ds && !company.xl && company.ds_name == QLatin1String("Companies"));
    const User_Profile_Field &title = m_window->profile()->Front_user_profile.field(1);
    EXPECT_TRUE(title.xl && title.xl_col_indx == 2 && title.ds_name.isEmpty());
    EXPECT_EQ(m_window->profile()->Front_user_profile.field(3).sourceKind(), 0);
    EXPECT_TRUE(Excel_Binding_Use);
    // Written onto the fields' own elements: a series by name, a column by index, typed text.
    const GraphicPtr companyElement = findById(QStringLiteral("Fup_Company")), titleElement = findById(QStringLiteral("Fup_Title"));
    EXPECT_TRUE(companyElement->data_source_type == 1 && companyElement->batch_list_name == QLatin1String("Companies"));
    EXPECT_TRUE(titleElement->data_source_type == 2 && titleElement->excel_col_indx == 2);
    EXPECT_EQ(findById(QStringLiteral("Fup_CompanySlogan"))->data_source_type, 0);
    EXPECT_EQ(mine->data_source_type, 0);

    // Reopened after a series was added before "Companies": the row finds it by name.
    ASSERT_TRUE(DataSeries::writeValues(QStringLiteral("Aardvarks"), {QStringLiteral("a")}, DataSeries::WriteMode::Replace));
    runProfile([](Show_User_Profile *p) {
        EXPECT_EQ(p->ui.comp_name_ds_combo->currentIndex(), 1);
        EXPECT_TRUE(p->ui.comp_name_ser_col_cb->currentText() == QLatin1String("Companies") && p->ui.comp_name_value->text() == QLatin1String("Acme"));
    }, "Cancel_btn");
}

TEST_F(Profile, ABoundRowWithoutASourceNamesItselfAndNothingIsWritten)
{
    const User_Profile_Class before = m_window->profile()->Front_user_profile;
    EXPECT_FALSE(runProfile([](Show_User_Profile *p) {
        type(p->ui.name_value, QStringLiteral("Eve"));
        p->ui.phone_ds_combo->setCurrentIndex(1);
        p->ui.phone_ser_col_cb->setCurrentIndex(0);
        p->ui.email_ds_combo->setCurrentIndex(1);
    }));
    EXPECT_EQ(m_seam.messageTexts(), QStringList{QStringLiteral("\nPlease select the source for 'Email Id'")});
    EXPECT_EQ(m_window->profile()->Front_user_profile, before);
    EXPECT_EQ(findById(QStringLiteral("Fup_Name")), nullptr);
}

TEST_F(Profile, PreviewShowsTheProfileButLeavesTheDesignAndItsHistory)
{
    ASSERT_TRUE(runProfile([](Show_User_Profile *p) { type(p->ui.comp_name_value, QStringLiteral("Old Company")); }));
    const GraphicPtr company = findById(QStringLiteral("Fup_Company"));
    const int undo = m_document.undoManager()->count();
    const int count = m_document.graphics.size();
    const float x = last_ctrl_X;
    runProfile([](Show_User_Profile *p) {
        type(p->ui.comp_name_value, QStringLiteral("New Company"));
        type(p->ui.name_value, QStringLiteral("Finn"));
        QTest::mouseClick(p->ui.Preview_btn, Qt::LeftButton);
        EXPECT_FALSE(p->ui.Preivew_picture->pixmap().isNull());
        QStringList texts;
        for (const GraphicPtr &g : p->Graphics_array)
            texts << g->control_ID + QLatin1Char('=') + g->Text_Value;
        EXPECT_TRUE(texts.contains(QStringLiteral("Fup_Company=New Company"))) << texts.join(' ').toStdString();
        EXPECT_TRUE(texts.contains(QStringLiteral("Fup_Name=Finn")));
    }, "Cancel_btn");
    EXPECT_EQ(company->Text_Value, QStringLiteral("Old Company"));
    EXPECT_TRUE(m_document.graphics.size() == count && m_document.undoManager()->count() == undo && last_ctrl_X == x);
}

TEST_F(Profile, WizardsDialogFillsBothRecordsAndItsProfileIsPlacedWhenTheStartScreenEnds)
{
    // A two-sided card started from the wizard, its profile confirmed in the wizard's dialog.
    m_seam.answerMessages({QStringLiteral("No")});
    m_seam.onDialog([this](QDialog *dialog) {
        auto *wizard = qobject_cast<Invitation_Wizard *>(dialog);
        QTest::mouseClick(wizard->ui.start_wizard_btn, Qt::LeftButton);
        wizard->ui.date_chk->setChecked(false);
        wizard->ui.time_chk->setChecked(false);
        m_seam.onDialog([](QDialog *profileDialog) {
            auto *profile = qobject_cast<User_profile *>(profileDialog);
            EXPECT_EQ(profile->windowTitle(), QStringLiteral("User Profile Information"));
            EXPECT_EQ(profile->ui.name_side_combo->currentIndex(), 2);
            EXPECT_TRUE(profile->ui.name_value->text().isEmpty());
            type(profile->ui.name_value, QStringLiteral("Gus"));
            QTest::mouseClick(profile->ui.OK_btn, Qt::LeftButton);
            return profile->result();
        });
        QTest::mouseClick(wizard->ui.profile_btn, Qt::LeftButton);
        QTest::mouseClick(wizard->ui.finish_btn, Qt::LeftButton);
        return wizard->result();
    });
    m_window->_graphicView->createGraphicOfClass(GraphicKind::Text, nullptr, true, QRectF(5, 5, 40, 20),
                                                 QStringLiteral("F"), QStringLiteral("x"), QString());
    m_window->newDesignCommand();
    EXPECT_EQ(m_window->profile()->Front_user_profile.field(0), m_window->profile()->Back_user_profile.field(0));
    ASSERT_NE(findById(QStringLiteral("Fup_Name")), nullptr);
    EXPECT_EQ(findById(QStringLiteral("Fup_Name"))->Text_Value, QStringLiteral("Gus"));
    EXPECT_EQ(m_document.graphics_back.size(), 1);   // the back of a two-sided card too
    EXPECT_FALSE(m_document.undoManager()->canUndo());
}

TEST_F(Profile, PlacedElementsTravelInTheDesignFileAndLoadBackIntoTheDialog)
{
    ASSERT_TRUE(runProfile([](Show_User_Profile *p) {
        type(p->ui.name_value, QStringLiteral("Hana"));
        p->ui.unique_ds_combo->setCurrentIndex(1);
        p->ui.unique_ser_col_cb->setCurrentIndex(p->ui.unique_ser_col_cb->findText(QStringLiteral("Guests")));
    }));
    const QString path = QDir(m_resources.path()).filePath(QStringLiteral("profile.dcard"));
    ASSERT_TRUE(m_window->saveDesignTo(path));
    m_window->New_Project_Setting_Reset();
    EXPECT_FALSE(m_window->profile()->Fill_User_Profile);
    ASSERT_TRUE(m_window->Read_and_load_design_Log(path, true));
    runProfile([](Show_User_Profile *p) {
        EXPECT_TRUE(p->ui.name_value->text() == QLatin1String("Hana") && p->ui.name_value_chk->isChecked());
        EXPECT_TRUE(p->ui.unique_ds_combo->currentIndex() == 1 && p->ui.unique_value->text() == QLatin1String("Anna"));
    }, "Cancel_btn");
}

// OK gives the user back the drawing tool chosen before, and an OK that changes nothing is no
// step in the history.
TEST_F(Profile, OkKeepsTheToolAndAnOkThatChangesNothingIsNoStep)
{
    struct Row
    {
        const char *name;
        int toolBefore;
        QString typedName;
        int steps;
    };
    const QList<Row> rows = {
        {"empty profile, select tool", 0, QString(), 0},
        {"empty profile, rectangle tool", 3, QString(), 0},
        {"a name, select tool", 0, QStringLiteral("Ida"), 1},
        {"the same name again", 3, QStringLiteral("Ida"), 0},
        {"another name, rectangle tool", 3, QStringLiteral("Jon"), 1},
        {"the name emptied: hidden", 0, QString(), 1},
    };
    QUndoStack *history = m_document.undoManager();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        m_window->selectToolNumber(row.toolBefore);
        const int index = history->index();
        const int count = history->count();
        ASSERT_TRUE(runProfile([&](Show_User_Profile *p) { type(p->ui.name_value, row.typedName); }));
        EXPECT_EQ(history->index(), index + row.steps);
        EXPECT_EQ(history->count(), count + row.steps);
        EXPECT_EQ(m_window->Selected_Control_Tool(), row.toolBefore);
        const auto *toolBar = m_window->findChild<QToolBar *>(QStringLiteral("tools_toolbar"));
        ASSERT_NE(toolBar, nullptr);
        EXPECT_TRUE(toolBar->actions().at(row.toolBefore)->isChecked());
    }
    const GraphicPtr name = findById(QStringLiteral("Fup_Name"));
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->Text_Value == QLatin1String("Jon") && !name->ctrl_is_visible);
}

// An OK that changes nothing leaves the history as it was: the step undone can still be
// redone, and the design is back in its saved state once it is.
TEST_F(Profile, AnOkThatChangesNothingKeepsRedoAndTheSavedState)
{
    QUndoStack *history = m_document.undoManager();
    history->clear();
    for (int i = 0; i < 2; ++i) {
        GraphicPtr shape = LMNGraphic::create(GraphicKind::Shape);
        shape->setBounds(QRectF(10 + 20 * i, 10, 15, 15));
        m_document.perform(new InsertGraphicsCommand(&m_document, &m_document.graphics, InsertGraphicsCommand::onTop({shape}),
                                                     QStringLiteral("Create")));
    }
    history->setClean();
    m_window->files()->setPath(QDir(m_resources.path()).filePath(QStringLiteral("party.dcard")));   // as if opened
    history->undo();
    ASSERT_TRUE(history->canRedo());
    ASSERT_TRUE(runProfile([](Show_User_Profile *p) { type(p->ui.name_value, QString()); }));
    EXPECT_EQ(history->count(), 2);
    EXPECT_TRUE(history->canRedo());
    EXPECT_EQ(history->cleanIndex(), 2);
    history->redo();
    EXPECT_TRUE(history->isClean());
    EXPECT_FALSE(m_window->files()->hasUnsavedChanges());
}

// The panel, the profile dialog and the barcode designer offer "Excel" by one rule: while the
// opened design holds spreadsheet records, whatever its binding flag says (a workbook chosen in
// the profile and then cancelled leaves records without the flag).
TEST_F(Profile, EveryDataSourceListOffersTheSpreadsheetByTheDesignsRecords)
{
    struct Row
    {
        const char *name;
        bool records;
        bool bindingFlag;
    };
    const QList<Row> rows = {
        {"records, flag", true, true},
        {"records left by a cancelled profile", true, false},
        {"flag without records", false, true},
        {"neither", false, false},
    };
    const QString path = QDir(m_resources.path()).filePath(QStringLiteral("records.dcard"));
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        SpreadsheetTable records;
        if (row.records) {
            records.titles = QStringList{QStringLiteral("No."), QStringLiteral("Guest")};
            records.appendRecord({QStringLiteral("Ann")}, 1);
        }
        SpreadsheetTable::live() = records;
        Excel_Binding_Use = row.bindingFlag;
        ASSERT_TRUE(m_window->saveDesignTo(path));
        m_window->New_Project_Setting_Reset();
        ASSERT_TRUE(m_window->Read_and_load_design_Log(path, true));

        QComboBox *panelList = m_window->settingsPanel()->ui.datasource_tab->ui.Data_source_type;
        EXPECT_EQ(panelList->findText(QStringLiteral("Excel")) >= 0, row.records) << "panel";
        runProfile([&](Show_User_Profile *p) {
            EXPECT_EQ(p->ui.name_ds_combo->findText(QStringLiteral("Excel")) >= 0, row.records) << "profile";
        }, "Cancel_btn");
        LMNBarcode barcode;
        m_seam.onDialog([&](QDialog *dialog) {
            auto *designer = qobject_cast<Barcode_Gen *>(dialog);
            EXPECT_NE(designer, nullptr);
            if (!designer)
                return int(QDialog::Rejected);
            auto *kinds = qobject_cast<QStandardItemModel *>(designer->ui.Data_source_type->model());
            EXPECT_EQ(kinds->item(2)->isEnabled(), row.records) << "barcode designer";
            return int(QDialog::Rejected);
        });
        Barcode_Gen::defaultInstance()->Open_Wnd(&barcode);
    }
    Excel_Binding_Use = false;
}
