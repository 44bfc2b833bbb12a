// Every window and dialog the application opens, at the sizes Qt gives it: it fits a
// 1024 x 700 screen with its frame, its buttons lie inside it (or inside a scroll area that
// brings them into view), and dialogs wear the dialog look. Opened on the screen the program
// runs on, each shows its content whole where the screen has room for it (ctest also runs this
// program on virtual X displays of 1600 x 1000 and 1024 x 700 with a window manager).

#include "EditorWindowFixture.h"

#include "barcode/ui/Barcode_Gen.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/Data_From_Excel.h"
#include "data/ui/Generate_List.h"
#include "data/ui/Import_Excel.h"
#include "data/ui/Import_Excel_DataSheet.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/Load_Num_Info.h"
#include "data/ui/Update_Ex_Num.h"
#include "data/ui/View_Data_Series.h"
#include "dialogs/ui/Long_SMS_Dlg.h"
#include "dialogs/ui/Open_Export_Files.h"
#include "dialogs/ui/PleaseWaitSheet.h"
#include "editor/ui/Grid_Wizard.h"
#include "editor/ui/Insert_Template.h"
#include "editor/ui/Template_Wizard.h"
#include "help/ui/Help_Support.h"
#include "help/ui/Promotion_Form.h"
#include "help/ui/Review_Form.h"
#include "help/ui/Share_It_Dlg.h"
#include "output/ui/Email_Setting.h"
#include "output/ui/ExportWindow.h"
#include "output/ui/PageSetupWindow.h"
#include "output/ui/Print_Wnd.h"
#include "output/ui/Send_Mail.h"
#include "output/ui/Send_Modeless.h"
#include "panels/ui/Image_Library.h"
#include "profile/ui/Show_User_Profile.h"
#include "profile/ui/User_profile.h"
#include "dialogs/ui/ScrolledPart.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMetaProperty>
#include <QRegularExpression>
#include <QTabWidget>
#include <QAbstractScrollArea>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>

namespace {

const QSize kScreen(1024, 700);
// Room the window manager's title bar and borders take.
const QMargins kFrame(8, 32, 8, 8);
const QColor kDialogLook(241, 244, 250);

struct Window
{
    const char *name;
    std::function<QWidget *()> open;
    bool dialogLook = true;
};

class WindowsFit : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        startWithCard();
    }

    void TearDown() override
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            window->hide();
    }

    // Every window the application opens, as its commands make it.
    QList<Window> windows()
    {
        return {
            {"editor window", [this] { return static_cast<QWidget *>(m_window.get()); }, false},
            {"start screen",
             [] {
                 Invitation_Wizard *wizard = Invitation_Wizard::defaultInstance();
                 wizard->resetPages();
                 return wizard;
             }},
            {"invitation wizard",
             [] {
                 Invitation_Wizard *wizard = Invitation_Wizard::defaultInstance();
                 wizard->resetPages();
                 wizard->show();
                 QTest::mouseClick(wizard->ui.start_wizard_btn, Qt::LeftButton);
                 return wizard;
             }},
            {"template wizard", [] { return Template_Wizard::defaultInstance(); }},
            {"insert template", [] { return Insert_Template::defaultInstance(); }},
            {"grid", [] { return Grid_Wizard::defaultInstance(); }},
            {"please wait", [this] { return new PleaseWaitSheet(m_window.get()); }},
            {"picture library", [] { return Image_Library::defaultInstance(); }},
            {"barcode designer", [] { return Barcode_Gen::defaultInstance(); }},
            {"sender profile", [] { return Show_User_Profile::defaultInstance(); }},
            {"wizard profile", [] { return User_profile::defaultInstance(); }},
            {"print", [] { return Print_Wnd::defaultInstance(); }},
            {"page setup", [this] { return new PageSetupWindow(m_window.get()); }},
            {"export", [] { return ExportWindow::defaultInstance(); }},
            {"mail", [] { return Send_Mail::defaultInstance(); }},
            {"mail progress", [] { return Send_Modeless::defaultInstance(); }},
            {"mail settings", [] { return Email_Setting::defaultInstance(); }},
            {"exported files", [this] { return new Open_Export_Files(m_window.get()); }},
            {"long message", [] { return Long_SMS_Dlg::defaultInstance(); }},
            {"data series", [] { return BatchWizard::defaultInstance(); }},
            {"series values", [] { return BatchWizard::defaultInstance()->Update_Value_Wnd; }},
            {"load numbers", [this] { return new Load_Num_Info(m_window.get()); }},
            {"create series", [] { return Generate_List::defaultInstance(); }},
            {"import wizard", [] { return Import_Wizard::defaultInstance(); }},
            {"spreadsheet", [] { return Import_Excel::defaultInstance(); }},
            {"spreadsheet sheet", [] { return Import_Excel_DataSheet::defaultInstance(); }},
            {"spreadsheet records", [] { return Data_From_Excel::defaultInstance(); }},
            {"series viewer", [] { return View_Data_Series::defaultInstance(); }},
            {"support", [this] { return new Help_Support(m_window.get()); }},
            {"promotion", [] { return Promotion_Form::defaultInstance(); }},
            {"review", [] { return Review_Form::defaultInstance(); }},
            {"share", [this] { return new Share_It_Dlg(m_window.get()); }},
        };
    }
};

// Inside a scroll area's viewport: scrolled into view when needed.
bool scrolled(const QWidget *widget, const QWidget *window)
{
    for (const QWidget *w = widget; w && w != window; w = w->parentWidget())
        if (auto *area = qobject_cast<const QAbstractScrollArea *>(w->parentWidget()); area && area->viewport() == w)
            return true;
    return false;
}

TEST_F(WindowsFit, EveryWindowFitsASmallScreenWithItsButtonsInView)
{
    const QSize room = QRect(QPoint(), kScreen).marginsRemoved(kFrame).size();
    for (const Window &row : windows()) {
        SCOPED_TRACE(row.name);
        QWidget *window = row.open();
        ASSERT_NE(window, nullptr);
        window->ensurePolished();
        if (window->layout())
            window->layout()->activate();
        const QSize least = window->minimumSize().expandedTo(window->minimumSizeHint());
        EXPECT_LE(least.width(), room.width());
        EXPECT_LE(least.height(), room.height());

        // Opened as Qt opens it, then held to the screen as the window manager does.
        const QSize wanted = window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
        window->show();
        window->resize(wanted.boundedTo(room).expandedTo(least));
        QCoreApplication::processEvents();
        const QRect inside = window->rect();
        for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
            if (!button->isVisibleTo(window) || scrolled(button, window))
                continue;
            const QRect place(button->mapTo(window, QPoint()), button->size());
            EXPECT_TRUE(inside.contains(place)) << button->objectName().toStdString() << " at "
                                                << place.x() << "," << place.y();
        }
        for (QAbstractScrollArea *area : window->findChildren<QAbstractScrollArea *>()) {
            if (!area->isVisibleTo(window) || scrolled(area, window))
                continue;
            const QRect place(area->mapTo(window, QPoint()), area->size());
            EXPECT_TRUE(inside.contains(place)) << area->objectName().toStdString();
        }
        window->hide();
    }
}

// A window opens at its whole size hint, its scrolled parts without scroll bars, wherever the
// screen's free area has room for it with its frame; on a screen too small it opens inside the
// free area and scrolls.
TEST_F(WindowsFit, EveryWindowOpensWholeWhereTheScreenHasRoom)
{
    const bool framed = QGuiApplication::platformName() == QLatin1String("xcb");
    int whole = 0;
    for (const Window &row : windows()) {
        if (!row.dialogLook)
            continue;   // the editor window keeps the place and size it was left at
        SCOPED_TRACE(row.name);
        QWidget *window = row.open();
        ASSERT_NE(window, nullptr);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window, 20000));
        if (framed)   // the window manager's frame comes a moment after the window
            (void)QTest::qWaitFor([window] { return window->frameGeometry() != window->geometry(); }, 5000);
        QTest::qWait(framed ? 200 : 0);
        const QRect area = window->screen()->availableGeometry();
        const QRect outer = window->frameGeometry();
        const QMargins frame = outer != window->geometry()
                                   ? QMargins(window->geometry().left() - outer.left(), window->geometry().top() - outer.top(),
                                              outer.right() - window->geometry().right(), outer.bottom() - window->geometry().bottom())
                                   : QMargins();
        const QSize room = area.marginsRemoved(frame).size();
        const QSize hint = window->sizeHint();
        if (hint.width() <= room.width() && hint.height() <= room.height()) {
            ++whole;
            EXPECT_GE(window->width(), hint.width()) << "on " << area.width() << "x" << area.height();
            EXPECT_GE(window->height(), hint.height()) << "on " << area.width() << "x" << area.height();
            for (ScrolledPart *part : window->findChildren<ScrolledPart *>()) {
                EXPECT_FALSE(part->horizontalScrollBar()->isVisible());
                EXPECT_FALSE(part->verticalScrollBar()->isVisible());
            }
        } else {
            EXPECT_LE(window->width(), std::max(room.width(), window->minimumWidth()));
            EXPECT_LE(window->height(), std::max(room.height(), window->minimumHeight()));
        }
        window->hide();
    }
    EXPECT_GT(whole, 0);
}

// Words a window shows (labels, buttons, titles, tips, list items, menu entries) never show
// an escape such as "\n" as its two characters: a form's line break is a real one.
TEST_F(WindowsFit, NoWindowShowsABackslashEscape)
{
    static const QRegularExpression escape(QStringLiteral(R"(\\[nrt"'\\])"));
    int looked = 0;
    const auto check = [&](const QString &where, const QString &text) {
        ++looked;
        EXPECT_FALSE(escape.match(text).hasMatch()) << where.toStdString() << ": " << text.toStdString();
    };
    for (const Window &row : windows()) {
        SCOPED_TRACE(row.name);
        QWidget *window = row.open();
        ASSERT_NE(window, nullptr);
        QList<QObject *> objects{window};
        objects += window->findChildren<QObject *>();
        for (QObject *object : std::as_const(objects)) {
            const QMetaObject *meta = object->metaObject();
            for (int i = 0; i < meta->propertyCount(); ++i) {
                const QMetaProperty property = meta->property(i);
                if (property.typeId() == QMetaType::QString && property.isReadable())
                    check(object->objectName() + QLatin1Char('.') + QLatin1String(property.name()),
                          property.read(object).toString());
            }
            if (auto *combo = qobject_cast<QComboBox *>(object))
                for (int i = 0; i < combo->count(); ++i)
                    check(combo->objectName(), combo->itemText(i));
            if (auto *tabs = qobject_cast<QTabWidget *>(object))
                for (int i = 0; i < tabs->count(); ++i)
                    check(tabs->objectName(), tabs->tabText(i));
            if (auto *widget = qobject_cast<QWidget *>(object))
                for (QAction *action : widget->actions())
                    check(action->objectName(), action->text() + action->toolTip());
        }
    }
    EXPECT_GT(looked, 1000);
}

// Every label shows its text as plain text: what a label shows may come from a file, a
// workbook, a series or a font name, and Qt takes text whose first line looks like a tag for
// HTML, opening every file an <img> in it names. No label of the program shows markup of its
// own; one that must would be named here, with every received part in it escaped.
TEST_F(WindowsFit, EveryLabelShowsItsTextAsPlainText)
{
    int labels = 0;
    for (const Window &row : windows()) {
        SCOPED_TRACE(row.name);
        QWidget *window = row.open();
        ASSERT_NE(window, nullptr);
        for (const QLabel *label : window->findChildren<QLabel *>()) {
            ++labels;
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
        }
    }
    EXPECT_GT(labels, 250);
}

TEST_F(WindowsFit, EveryDialogWearsTheDialogLook)
{
    for (const Window &row : windows()) {
        if (!row.dialogLook)
            continue;
        SCOPED_TRACE(row.name);
        QWidget *window = row.open();
        window->show();
        QCoreApplication::processEvents();
        const QImage shown = window->grab().toImage();
        // A corner inside the layout's margin shows the window's own background.
        EXPECT_EQ(QColor(shown.pixel(2, 2)), kDialogLook);
        EXPECT_EQ(QColor(shown.pixel(shown.width() - 3, shown.height() - 3)), kDialogLook);
        window->hide();
    }
}

} // namespace
