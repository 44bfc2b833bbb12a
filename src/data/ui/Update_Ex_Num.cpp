#include "data/ui/Update_Ex_Num.h"

#include "data/ui/BatchWizard.h"
#include "data/ui/SeriesDialogSupport.h"
#include "document/StringUtilities.h"
#include "dialogs/ui/MessageBoxes.h"

Update_Ex_Num::Update_Ex_Num(BatchWizard *manager)
    : QDialog(manager)
    , m_manager(manager)
{
    ui.setupUi(this);
    SeriesDialogs::applyDialogLook(this);
    connect(ui.ok_btn, &QPushButton::clicked, this, &Update_Ex_Num::OKPressed);
    connect(ui.cancel_btn, &QPushButton::clicked, this, &Update_Ex_Num::CancelPressed);
}

void Update_Ex_Num::OKPressed()
{
    if (ui.m_ex_num_str->text() == ui.m_s_number->text()) {
        done(1);
        return;
    }
    const QString value = Trim_Str(ui.m_ex_num_str->text());
    if (value.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter a valid value."));
        ui.m_ex_num_str->setFocus();
        return;
    }
    m_manager->Replace_Value(ui.m_ex_num_index->text().toInt(), value);
    clearFields();
    done(1);
}

void Update_Ex_Num::CancelPressed()
{
    clearFields();
    done(0);
}

void Update_Ex_Num::clearFields()
{
    ui.m_ex_num_str->clear();
    ui.m_s_number->clear();
    ui.m_ex_num_index->clear();
}
