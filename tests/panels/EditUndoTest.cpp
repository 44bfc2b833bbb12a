// Every control of the element pages and the card pages, changed through its widget, is one
// undo step that undo and redo take back and bring back exactly, and after which Exit asks
// to save.

#include "PanelFixture.h"

#include "dialogs/ui/ColorWell.h"
#include "document/LMNGraphicArchive.h"
#include "document/LMNImage.h"
#include "document/LMNSignature.h"
#include "editor/ui/DesignFileCommands.h"
#include "panels/Card_Property.h"
#include "panels/ui/BackgroundGallery.h"
#include "panels/ui/CardPanelCommands.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableView>
#include <QUndoStack>

namespace {

// What a user can see and save of the design: the element archives of both sides, the card
// records, shape and size, and the pictures of both sides.
struct DesignState
{
    QByteArray front, back;
    Card_Property frontCard, backCard;
    int shape = 0;
    QSizeF size;
    QImage frontPixels, backPixels;

    bool operator==(const DesignState &o) const
    {
        return front == o.front && back == o.back && frontCard == o.frontCard && backCard == o.backCard
               && shape == o.shape && size == o.size && frontPixels == o.frontPixels && backPixels == o.backPixels;
    }
};

class EditUndo : public PanelFixture
{
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        canvas(0)->graphics().clear();
        m_document.undoManager()->clear();
        text = add(GraphicKind::Text, QRectF(10, 10, 120, 30));
        text->setText(QStringLiteral("Alice"));
        photo = add(GraphicKind::Image, QRectF(10, 50, 40, 30));
        static_cast<LMNImage &>(*photo).setFilePath(picture(QStringLiteral("red.png"), Qt::red));
        line = add(GraphicKind::Line, QRectF(60, 50, 40, 0));
        shape = add(GraphicKind::Shape, QRectF(110, 50, 30, 30));
        signature = add(GraphicKind::Signature, QRectF(150, 50, 30, 20));
        static_cast<LMNSignature &>(*signature).setFilePath(picture(QStringLiteral("sign.png"), Qt::blue));
        m_window->show();
        // As if opened from its file: only a change makes it unsaved.
        m_window->files()->setPath(QDir(m_resources.path()).filePath(QStringLiteral("party.dcard")));
        m_window->files()->markSaved();
    }

    DesignState state() const
    {
        DesignState s;
        s.front = LMNGraphicArchive::encodeList(m_document.graphics, true);
        s.back = LMNGraphicArchive::encodeList(m_document.graphics_back, true);
        s.frontCard = m_window->Front_card_Prop;
        s.backCard = m_window->Back_card_Prop;
        s.shape = Card_Shape.load();
        s.size = m_window->cardSize();
        s.frontPixels = m_window->files()->renderSide(0);
        s.backPixels = m_window->files()->renderSide(1);
        return s;
    }

    // The value the panel shows in a control.
    static QVariant shown(QWidget *control)
    {
        if (auto *edit = qobject_cast<QPlainTextEdit *>(control))
            return edit->toPlainText();
        if (auto *table = qobject_cast<QTableView *>(control))
            return table->currentIndex().row();
        return control->metaObject()->userProperty().read(control);
    }

    // Changes a control as a user would; false for controls a user does not change this way
    // (push buttons run commands and have rows of their own).
    bool change(QWidget *control)
    {
        // The page in front, so its controls have their places for the mouse.
        QTabWidget *tabs = panel->ui.sett_tab;
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->widget(i)->isAncestorOf(control))
                tabs->setCurrentIndex(i);
        if (auto *well = qobject_cast<ColorWell *>(control)) {
            const QColor next = well->color() == QColor(10, 200, 30) ? QColor(200, 10, 30) : QColor(10, 200, 30);
            m_seam.onDialog([next](QDialog *dialog) {
                static_cast<QColorDialog *>(dialog)->setCurrentColor(next);
                dialog->accept();
                return int(QDialog::Accepted);
            });
            QTest::mouseClick(well, Qt::LeftButton);
            return true;
        }
        if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            if (!button->isCheckable() || (qobject_cast<QRadioButton *>(button) && button->isChecked()))
                return false;
            // On the indicator: a check box in a wide row takes clicks on its box and label only.
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(std::min(8, button->width() / 2), button->height() / 2));
            return true;
        }
        if (auto *slider = qobject_cast<QAbstractSlider *>(control)) {
            slider->triggerAction(slider->value() < slider->maximum() ? QAbstractSlider::SliderPageStepAdd
                                                                      : QAbstractSlider::SliderPageStepSub);
            return true;
        }
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(control)) {
            if (spin->isReadOnly())
                return false;
            const QString before = spin->text();
            spin->stepBy(1);
            if (spin->text() == before)
                spin->stepBy(-1);   // at its maximum
            emit spin->editingFinished();   // a typed value confirmed
            return true;
        }
        if (auto *combo = qobject_cast<QComboBox *>(control)) {
            if (combo->count() < 2)
                return false;
            const int index = (combo->currentIndex() + 1) % combo->count();
            combo->setCurrentIndex(index);
            emit combo->activated(index);
            emit combo->textActivated(combo->itemText(index));
            return true;
        }
        if (auto *edit = qobject_cast<QLineEdit *>(control)) {
            if (edit->isReadOnly())
                return false;
            edit->setFocus();
            QTest::keyClicks(edit, QStringLiteral("xy"));
            emit edit->editingFinished();
            return true;
        }
        if (auto *edit = qobject_cast<QPlainTextEdit *>(control)) {
            if (edit->isReadOnly())
                return false;
            edit->moveCursor(QTextCursor::End);
            QTest::keyClicks(edit, QStringLiteral(" Andersson"));   // ten keys, one step
            return true;
        }
        if (auto *table = qobject_cast<QTableView *>(control)) {
            const int rows = table->model()->rowCount();
            if (rows < 2)
                return false;
            table->selectRow((table->currentIndex().row() + 1) % rows);
            return true;
        }
        return false;
    }

    // The controls of the pages the panel shows now, in the order they are laid out.
    QList<QWidget *> shownControls() const
    {
        QList<QWidget *> controls;
        QTabWidget *tabs = panel->ui.sett_tab;
        for (int i = 0; i < tabs->count(); ++i)
            for (QWidget *w : tabs->widget(i)->findChildren<QWidget *>())
                if ((qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractSlider *>(w)
                                             || qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QComboBox *>(w)
                                             || qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w)
                                             || qobject_cast<QTableView *>(w)))
                    controls << w;
        return controls;
    }

    // One row: `act` changes the design through a widget; the change must be exactly one
    // step, undone and redone exactly, with the panel showing the restored value of `control`.
    void checkStep(const QString &row, const std::function<void()> &act, QWidget *control, const QString &undoText = {})
    {
        SCOPED_TRACE(row.toStdString());
        QUndoStack *stack = m_document.undoManager();
        const DesignState before = state();
        const QVariant shownBefore = control ? shown(control) : QVariant();
        const int steps = stack->count();
        act();
        const DesignState after = state();
        if (after == before) {
            EXPECT_EQ(stack->count(), steps) << "a step that changes nothing";
            return;
        }
        ++m_changedRows;
        ASSERT_EQ(stack->count(), steps + 1);
        if (!undoText.isEmpty()) {
            EXPECT_EQ(stack->undoText(), undoText);
        }
        EXPECT_TRUE(m_window->files()->hasUnsavedChanges());
        stack->undo();
        EXPECT_TRUE(state() == before) << "undo does not bring back the design";
        if (control) {
            EXPECT_EQ(shown(control), shownBefore) << "the panel does not show the restored value";
        }
        stack->redo();
        EXPECT_TRUE(state() == after) << "redo does not bring back the change";
    }

    void checkEveryShownControl(const QString &where)
    {
        for (QWidget *control : shownControls()) {
            const QString row = where + QLatin1Char('/') + control->objectName();
            if (!control->isEnabledTo(panel->ui.sett_tab))
                continue;   // switched off (by a row before, or from the start)
            checkStep(row, [&] { change(control); }, control);
        }
    }

    GraphicPtr text, photo, line, shape, signature;
    int m_changedRows = 0;
};

TEST_F(EditUndo, EveryControlIsOneStepThatUndoAndRedoRestoreExactly)
{
    m_seam.expectUnused();   // colour and message answers of controls that turn out disabled
    for (const GraphicPtr &element : {text, photo, line, shape, signature}) {
        select({element});
        checkEveryShownControl(LMNGraphic::className(element->kind()));
    }
    m_window->Select_front_side();
    checkEveryShownControl(QStringLiteral("card"));

    // The controls that run commands.
    select({text});
    answerFontDialog(31);
    checkStep(QStringLiteral("font"), [&] { QTest::mouseClick(panel->ui.text_prop_tab->ui.Text_font_btn, Qt::LeftButton); },
              panel->ui.text_prop_tab->ui.Text_font_value, QStringLiteral("Change Font"));
    select({photo});
    m_seam.chooseFiles({picture(QStringLiteral("green.png"), Qt::green)});
    checkStep(QStringLiteral("picture file"),
              [&] { emit panel->ui.datasource_tab->browseFileRequested(); }, nullptr, QStringLiteral("Change Picture"));
    m_seam.answerMessages({QStringLiteral("Yes")});
    checkStep(QStringLiteral("picture reset"), [&] { QTest::mouseClick(panel->ui.image_tab->ui.Image_reset_btn, Qt::LeftButton); },
              panel->ui.image_tab->ui.Brt_slidr);
    checkStep(QStringLiteral("lock"), [&] { QTest::mouseClick(panel->ui.Lock_btn, Qt::LeftButton); }, nullptr);
    m_window->Select_front_side();
    answerFontDialog(9);
    checkStep(QStringLiteral("all-text font"), [&] { QTest::mouseClick(panel->ui.All_Text_font_btn, Qt::LeftButton); },
              panel->ui.All_Text_font_value, QStringLiteral("Change Font"));
    m_seam.chooseFiles({picture(QStringLiteral("card.png"), Qt::yellow)});
    checkStep(QStringLiteral("card picture"), [&] { QTest::mouseClick(panel->ui.Card_Image_browse_btn, Qt::LeftButton); },
              panel->ui.Card_Image_path);
    checkStep(QStringLiteral("gallery"),
              [&] { m_window->cardCommands()->galleryPictureChosen(picture(QStringLiteral("g.png"), Qt::cyan)); }, nullptr);
    EXPECT_GE(m_changedRows, 85);   // every control that changes something was reached

    // The design changed: Exit asks first.
    m_seam.answerMessages({QStringLiteral("Cancel")});
    m_window->Exit_App();
    EXPECT_EQ(m_seam.messages.last().text, QStringLiteral("Do you want to save changes before closing?"));
}

TEST_F(EditUndo, ASliderDragIsOneStepNamedAfterItsSetting)
{
    select({photo});
    QSlider *slider = panel->ui.image_tab->ui.Brt_slidr;
    const QByteArray before = LMNGraphicArchive::encodeList(m_document.graphics, true);
    const int steps = m_document.undoManager()->count();
    for (int i = 0; i < 20; ++i)
        slider->setValue(slider->value() + 1);
    EXPECT_EQ(m_document.undoManager()->count(), steps + 1);
    EXPECT_EQ(m_document.undoManager()->undoText(), QStringLiteral("Change Brightness"));
    m_document.undoManager()->undo();
    EXPECT_EQ(LMNGraphicArchive::encodeList(m_document.graphics, true), before);
    // Loading values into the panel is no step.
    select({text});
    select({photo});
    EXPECT_EQ(m_document.undoManager()->index(), steps);
    EXPECT_FALSE(m_window->files()->hasUnsavedChanges());
}

// Undo and redo pressed in the text box take back and bring again what was typed there, as
// Edit › Undo does: the text before the typing, never an empty one, and no caret out of range.
TEST_F(EditUndo, UndoInTheTextBoxGivesBackTheTextBeforeTheTyping)
{
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    QPlainTextEdit *box = panel->ui.text_edtng_tab->ui.Text_value_Edit;
    struct Row
    {
        const char *name;
        bool drawn;              // a new text drawn with the text tool, else "Alice"
        bool selectAll;          // Ctrl+A in the box before typing, else typed at the end
        const char *typed;
        const char *before;
    };
    const Row rows[] = {
        {"a new text typed over", true, true, "Hello Daniel", "Text here"},
        {"a new text typed after", true, false, "Hello", "Text here"},
        {"a text typed over", false, true, "Bob", "Alice"},
        {"a text typed after", false, false, " Cooper", "Alice"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        GraphicPtr element = text;
        if (row.drawn) {
            m_window->setSelected_Control_Tool(2);
            const QPoint from = canvas()->widgetFromPoint(QPointF(20, 90)).toPoint();
            const QPoint to = canvas()->widgetFromPoint(QPointF(140, 120)).toPoint();
            QTest::mousePress(canvas(), Qt::LeftButton, {}, from);
            QMouseEvent drag(QEvent::MouseMove, QPointF(to), canvas()->mapToGlobal(QPointF(to)), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(canvas(), &drag);
            QTest::mouseRelease(canvas(), Qt::LeftButton, {}, to);
            element = canvas()->_Selected_Graphic;
            ASSERT_TRUE(element && element != text && element->kind() == GraphicKind::Text);
        } else {
            select({photo});   // the panel reads the text again when it comes back
            text->setText(QStringLiteral("Alice"));
            select({text});
        }
        ASSERT_EQ(panel->ui.sett_tab->currentWidget(), panel->ui.text_edtng_tab);
        ASSERT_EQ(box->toPlainText(), QString::fromUtf8(row.before));
        const int steps = m_document.undoManager()->index();

        TestHelpers::LogCapture log;
        QTest::mouseClick(box->viewport(), Qt::LeftButton);
        if (row.selectAll)
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        else
            QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(box, QString::fromUtf8(row.typed));
        const QString typed = element->_Text_contents;
        EXPECT_EQ(box->toPlainText(), typed);
        EXPECT_NE(typed, QString::fromUtf8(row.before));

        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(element->_Text_contents, QString::fromUtf8(row.before));
        EXPECT_EQ(box->toPlainText(), QString::fromUtf8(row.before));
        EXPECT_EQ(m_document.undoManager()->index(), steps);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(element->_Text_contents, typed);
        EXPECT_EQ(box->toPlainText(), typed);
        EXPECT_TRUE(log.lines().filter(QStringLiteral("out of range")).isEmpty()) << log.lines().join('\n').toStdString();
    }
}

TEST_F(EditUndo, UndoAndRedoNameTheirStepAndKeepThePageInFront)
{
    QAction *undo = m_window->Undo_btn;
    QAction *redo = m_window->Redo_btn;
    auto plain = [](QAction *action) { return action->text().remove(QLatin1Char('&')); };
    EXPECT_EQ(plain(undo), QStringLiteral("Undo"));
    EXPECT_EQ(plain(redo), QStringLiteral("Redo"));
    select({text});
    QTabWidget *tabs = panel->ui.sett_tab;
    tabs->setCurrentWidget(panel->ui.text_prop_tab);
    answerFontDialog(31);
    QTest::mouseClick(panel->ui.text_prop_tab->ui.Text_font_btn, Qt::LeftButton);
    EXPECT_EQ(plain(undo), QStringLiteral("Undo Change Font"));
    undo->trigger();
    EXPECT_EQ(plain(undo), QStringLiteral("Undo"));
    EXPECT_EQ(plain(redo), QStringLiteral("Redo Change Font"));
    EXPECT_EQ(tabs->currentWidget(), panel->ui.text_prop_tab);
    redo->trigger();
    EXPECT_EQ(tabs->currentWidget(), panel->ui.text_prop_tab);
    EXPECT_EQ(text->text_ctrl_font.pointSize, 31.0);

    // Another element in the panel: its own first page.
    select({photo});
    tabs->setCurrentWidget(panel->ui.image_tab);
    undo->trigger();
    EXPECT_EQ(tabs->currentIndex(), 0);
}

} // namespace
