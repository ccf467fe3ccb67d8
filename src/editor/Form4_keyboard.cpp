// The editor's keyboard order.
#include "editor/Form4.h"

#include "platform/ui/ListView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

void Form4::SetKeyboardOrder()
{
    m_keyboardOrder = {
        cboEmployees,     cboVendors,        cboCategories,       cboStatus,
        cboDepartment,    txtNextSchedMaint, txtDescription,      txtDateAcquired,
        txtDateSold,      txtModelNo,        txtSerialNo,         txtBarcodeNo,
        txtPurchasePrice, txtCurrentValue,   txtTotalMaintenance, txtTotalDepreciation,
        SSTab1->tabBar(), ListView1,         PushButton[4],       PushButton[5],
        PushButton[6],    txtDeprMethod,     txtDepreciableLife,  txtSalvageValue,
        ListView2,        PushButton[7],     PushButton[8],       PushButton[9],
        txtComments,      PushButton[1],     PushButton[2],       PushButton[10],
        PushButton[11],   PushButton[12],    PushButton[13],      PushButton[14],
        PushButton[15],   PushButton[16],    PushButton[17],      PushButton[18],
        PushButton[19]};
}

// The order is kept here rather than in the widgets' focus chain: chaining the tab control
// takes the controls of its pages along with it, and Tab then went from the strip straight
// back to the first list, so the pages, Save, Cancel and the list buttons could not be
// reached. Controls that are hidden (on another page) or display-only are passed over; the
// order wraps round.
bool Form4::focusNextPrevChild(bool next)
{
    const qsizetype count = m_keyboardOrder.size();
    const qsizetype at = m_keyboardOrder.indexOf(focusWidget());
    if (at < 0)
        return QDialog::focusNextPrevChild(next);
    for (qsizetype step = 1; step < count; ++step) {
        QWidget* candidate = m_keyboardOrder[(at + (next ? step : count - step)) % count];
        if (candidate->isVisible() && candidate->isEnabled() &&
            (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return true;
}
