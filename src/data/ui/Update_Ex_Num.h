#pragma once

#include "ui_Update_Ex_Num.h"

#include <QDialog>

class BatchWizard;

// Edits one value of the manager's value list: m_ex_num_str the edited text, m_s_number the
// value before editing, m_ex_num_index its row.
class Update_Ex_Num : public QDialog
{
    Q_OBJECT

public:
    explicit Update_Ex_Num(BatchWizard *manager);
    Ui::Update_Ex_Num ui;

    void OKPressed();
    void CancelPressed();

private:
    void clearFields();
    BatchWizard *m_manager;
};
