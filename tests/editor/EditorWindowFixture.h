#pragma once

// An editor window on a fresh, seeded resource folder, with every modal question answered
// through the scripted seam.

#include "support/ScriptedModalSeam.h"

#include "document/LMNDocument.h"
#include "document/LMNGraphic.h"
#include "editor/ui/Invitation_Wizard.h"
#include "editor/ui/LMNWindowController.h"
#include "support/TestHelpers.h"

#include <functional>
#include <memory>

class EditorWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("FESTILOOM_RESOURCE_DIR", m_resources.path().toUtf8());
        m_window = std::make_unique<LMNWindowController>(&m_document);
    }

    // Answers the next start screen by running the wizard to its end; `answer` fills its pages.
    void finishWizard(const std::function<void(Invitation_Wizard *)> &answer = {})
    {
        m_seam.onDialog([answer](QDialog *dialog) {
            auto *wizard = qobject_cast<Invitation_Wizard *>(dialog);
            EXPECT_NE(wizard, nullptr);
            if (!wizard)
                return int(QDialog::Rejected);
            QTest::mouseClick(wizard->ui.start_wizard_btn, Qt::LeftButton);
            if (answer)
                answer(wizard);
            QTest::mouseClick(wizard->ui.finish_btn, Qt::LeftButton);
            return wizard->result();
        });
    }

    // Starts the window with a card from the wizard (title and sender only).
    void startWithCard()
    {
        finishWizard([](Invitation_Wizard *wizard) {
            wizard->ui.title_edit->setText(QStringLiteral("Happy Birthday"));
            wizard->ui.from_edit->setText(QStringLiteral("Ben"));
            wizard->ui.date_chk->setChecked(false);
            wizard->ui.time_chk->setChecked(false);
        });
        ASSERT_TRUE(m_window->windowDidLoad());
    }

    GraphicPtr findById(const QString &id) const
    {
        for (const GraphicPtr &g : m_document.graphics)
            if (g->control_ID == id)
                return g;
        return nullptr;
    }

    QTemporaryDir m_resources;
    ScriptedModalSeam m_seam;
    LMNDocument m_document;
    std::unique_ptr<LMNWindowController> m_window;
};
