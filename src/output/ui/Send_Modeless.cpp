#include "output/ui/Send_Modeless.h"

#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/SharedWindow.h"
#include "output/OutputGlobals.h"
#include "dialogs/ui/UiUtilities.h"

#include <QPointer>

Send_Modeless *Send_Modeless::defaultInstance()
{
    return sharedWindow<Send_Modeless>();
}

Send_Modeless::Send_Modeless(QWidget *parent)
    : QDialog(parent)
{
    ui.setupUi(this);
    Apply_Dialog_Look(this);
    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, &Send_Modeless::update_sending_progress_bar);
    connect(ui._stop_btn, &QPushButton::clicked, this, &Send_Modeless::Stop_Sending_Pressed);
}

void Send_Modeless::prepare(int total, const QString &startFormat)
{
    Stop_SMS_Sending_Now = false;
    list_count = total;
    curr_barcode_count = 0;
    ui._stop_btn->setEnabled(true);
    ui._Curr_Progress->setRange(0, std::max(total, 0));
    ui._Curr_Progress->setValue(0);
    ui._tot_msg_cnt->setText(QString::number(total));
    ui._curr_msg_cnt->setText(startFormat.arg(0).arg(total));
}

void Send_Modeless::begin(QWidget *window)
{
    if (window && parentWidget() != window)
        setParent(window, Qt::Sheet);
    setWindowModality(Qt::WindowModal);
    show();
    raise();
    m_timer.start();
}

void Send_Modeless::end()
{
    m_timer.stop();
    hide();
}

void Send_Modeless::update_sending_progress_bar()
{
    const int current = curr_barcode_count.load();
    ui._Curr_Progress->setValue(std::clamp(current, ui._Curr_Progress->minimum(), ui._Curr_Progress->maximum()));
    ui._curr_msg_cnt->setText(QStringLiteral("%1 / %2 ").arg(current).arg(list_count.load()));
}

void Send_Modeless::Stop_Sending_Pressed()
{
    if (Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to continue?")) == 1)
        Stop_SMS_Sending_Now = true;
}

void Send_Modeless::reject()
{
}
