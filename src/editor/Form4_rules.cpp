#include "editor/Form4.h"

#include "platform/conv/Conv.h"
#include "platform/ui/Boxes.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>

void Form4::ConnectEntryRules()
{
    const std::pair<QLineEdit*, QLineEdit*> copies[] = {
        {txtPurchasePrice, txtPurchasePrice2},
        {txtNextSchedMaint, txtNextScheduled},
        {txtTotalMaintenance, txtTotalMaintenance2},
        {txtTotalDepreciation, txtTotalDepreciation2},
    };
    for (const auto& [source, target] : copies)
        connect(source, &QLineEdit::textChanged, target, &QLineEdit::setText);

    for (QLineEdit* box : {txtPurchasePrice, txtCurrentValue, txtSalvageValue, txtDepreciableLife,
                           txtDateAcquired, txtDateSold, txtNextSchedMaint})
        box->installEventFilter(this);
}

bool Form4::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusOut || m_checkingDate)
        return QDialog::eventFilter(watched, event);
    // Focus that moves to a message box, a pop-up or another window has not left the box.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return QDialog::eventFilter(watched, event);
    // A click on Save applies these rules itself before anything else; checking here as well
    // would show a bad date's message twice. The focus has already moved when this runs.
    if (reason == Qt::MouseFocusReason && QApplication::focusWidget() == PushButton[1])
        return QDialog::eventFilter(watched, event);

    if (watched == txtPurchasePrice)
        txtPurchasePrice_LostFocus();
    else if (watched == txtCurrentValue)
        txtCurrentValue_LostFocus();
    else if (watched == txtSalvageValue)
        txtSalvageValue_LostFocus();
    else if (watched == txtDepreciableLife)
        txtDepreciableLife_LostFocus();
    else if (watched == txtDateAcquired)
        txtDateAcquired_LostFocus();
    else if (watched == txtDateSold)
        txtDateSold_LostFocus();
    else if (watched == txtNextSchedMaint)
        txtNextSchedMaint_LostFocus();
    return QDialog::eventFilter(watched, event);
}

// The rules judge what the user typed: a box still showing its stored value (an amount
// beyond the currency range shows as an empty box) keeps that value untouched.
void Form4::NumberFallback(QLineEdit& box)
{
    if (!m_shown.Unchanged(box) && !IsNumeric(box.text()))
        box.setText("0");
}

bool Form4::DateCheck(QLineEdit& box)
{
    if (m_shown.Unchanged(box) || box.text().isEmpty() || IsDate(box.text()))
        return true;
    m_checkingDate = true;
    MsgBox("Must be date value.");
    box.setFocus(Qt::OtherFocusReason);
    m_checkingDate = false;
    return false;
}

void Form4::txtPurchasePrice_LostFocus()
{
    NumberFallback(*txtPurchasePrice);
}

void Form4::txtCurrentValue_LostFocus()
{
    NumberFallback(*txtCurrentValue);
}

void Form4::txtSalvageValue_LostFocus()
{
    NumberFallback(*txtSalvageValue);
}

void Form4::txtDepreciableLife_LostFocus()
{
    NumberFallback(*txtDepreciableLife);
}

bool Form4::txtDateAcquired_LostFocus()
{
    return DateCheck(*txtDateAcquired);
}

bool Form4::txtDateSold_LostFocus()
{
    return DateCheck(*txtDateSold);
}

bool Form4::txtNextSchedMaint_LostFocus()
{
    return DateCheck(*txtNextSchedMaint);
}

bool Form4::ApplyEntryRules()
{
    txtPurchasePrice_LostFocus();
    txtCurrentValue_LostFocus();
    txtSalvageValue_LostFocus();
    txtDepreciableLife_LostFocus();
    return txtDateAcquired_LostFocus() && txtDateSold_LostFocus() && txtNextSchedMaint_LostFocus();
}
