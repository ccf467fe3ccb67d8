#pragma once

// moc cannot read the C++20 standard headers that these pull in, and needs none of them.
#ifndef Q_MOC_RUN
#include "common/ShownValues.h"
#include "platform/adodb/Recordset.h"
#include "platform/value/Currency.h"
#endif
#include "platform/ui/MousePointer.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QString>
#include <memory>

class ListView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The asset editor: adds one asset or edits one, with its five lookup lists, its
// maintenance and depreciation histories and its comments. The opener sets m_AssetID and
// m_AddNew, then the caption (which loads the window), then shows it modally.
class Form4 : public QDialog
{
    Q_OBJECT

public:
    explicit Form4(QWidget* parent = nullptr);
    ~Form4() override;

    // The edited asset's key as text; empty for a new asset.
    QString m_AssetID;
    // True: Save inserts a new asset; False: Save updates m_AssetID.
    bool m_AddNew = false;

    // Sets the caption; the first call loads the window (Form_Load).
    void SetCaption(const QString& caption);

    // Fill one lookup list and its parallel id list.
    void LoadEmployees();
    void LoadCategories();
    void LoadStatus();
    void LoadDepartment();
    void LoadVendor();
    // Reads asset m_AssetID into m_rsAsset and shows it (SetData) when it exists; when it
    // does not (any more), the panes are emptied and their commands wait as for a new asset.
    void ListData();
    // Copies the current row of m_rsAsset into the controls and fills both panes.
    void SetData();
    // Fill the maintenance and the depreciation pane; LoadDepreciation hands back its total.
    void LoadMaintenance();
    void LoadDepreciation(double& totalDepreciation);
    // Depreciation Basis: stored purchase price - stored salvage value - total depreciation,
    // in exact currency arithmetic.
    void ShowDepreciationBasis(double totalDepreciation);

    // Save Data (1), Cancel (2); the panes' Add New / Edit Selected / Delete Selected
    // (4-6 maintenance, 7-9 depreciation); the lookup lists' "+" and "-" (10-19).
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton6_Click();
    void PushButton7_Click();
    void PushButton8_Click();
    void PushButton9_Click();
    void PushButton10_Click();
    void PushButton11_Click();
    void PushButton12_Click();
    void PushButton13_Click();
    void PushButton14_Click();
    void PushButton15_Click();
    void PushButton16_Click();
    void PushButton17_Click();
    void PushButton18_Click();
    void PushButton19_Click();

    // The field entry rules: number fallback and date check when focus leaves a box.
    void txtPurchasePrice_LostFocus();
    void txtCurrentValue_LostFocus();
    void txtSalvageValue_LostFocus();
    void txtDepreciableLife_LostFocus();
    bool txtDateAcquired_LostFocus();
    bool txtDateSold_LostFocus();
    bool txtNextSchedMaint_LostFocus();

    // Controls, named as in the design.
    QComboBox* cboEmployees = nullptr;
    QComboBox* cboVendors = nullptr;
    QComboBox* cboCategories = nullptr;
    QComboBox* cboStatus = nullptr;
    QComboBox* cboDepartment = nullptr;
    QPlainTextEdit* txtDescription = nullptr;
    QLineEdit* txtModelNo = nullptr;
    QLineEdit* txtSerialNo = nullptr;
    QLineEdit* txtBarcodeNo = nullptr;
    QLineEdit* txtDateAcquired = nullptr;
    QLineEdit* txtDateSold = nullptr;
    QLineEdit* txtPurchasePrice = nullptr;
    QLineEdit* txtCurrentValue = nullptr;
    QLineEdit* txtNextSchedMaint = nullptr;
    QLineEdit* txtTotalMaintenance = nullptr;
    QLineEdit* txtTotalDepreciation = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QLineEdit* txtNextScheduled = nullptr;
    QLineEdit* txtTotalMaintenance2 = nullptr;
    ListView* ListView1 = nullptr;
    QLineEdit* txtDeprMethod = nullptr;
    QLineEdit* txtDepreciableLife = nullptr;
    QLineEdit* txtPurchasePrice2 = nullptr;
    QLineEdit* txtSalvageValue = nullptr;
    QLineEdit* txtTotalDepreciation2 = nullptr;
    QLineEdit* txtDepreciationBasis = nullptr;
    ListView* ListView2 = nullptr;
    QPlainTextEdit* txtComments = nullptr;
    // PushButton[n] is the design's PushButtonn (index 0 and 3 unused).
    QPushButton* PushButton[20] = {};
    QList<QLabel*> lblDetails;
    QList<QLabel*> Label1;

    // The edited asset's row from qryAssets; absent until ListData has run.
    std::unique_ptr<Recordset> m_rsAsset;
    // Ids parallel to the entries of the five lookup lists.
    QList<long long> m_EmployeeIDs;
    QList<long long> m_CategoryIDs;
    QList<long long> m_StatusIDs;
    QList<long long> m_DepartmentIDs;
    QList<long long> m_VendorIDs;

    PointerRule* Pointer = nullptr;

    // The insert (add mode) or update (edit mode) that Save runs, built from the boxes and
    // lists as they are now.
    QString SaveStatement() const;

    // The id that a lookup list's selection stands for: item p+1 of the parallel id list,
    // or its last item when the list is shorter.
    static long long SelectedId(const QComboBox& list, const QList<long long>& ids);

protected:
    // Runs the leave-the-box rules when focus leaves a number or date box.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tab and Shift+Tab follow the design's order of the controls.
    bool focusNextPrevChild(bool next) override;

private:
    void Form_Load();
    void BuildControls();
    void BuildMainArea();
    void BuildMaintenancePage(QWidget& page);
    void BuildDepreciationPage(QWidget& page);
    void BuildCommentsPage(QWidget& page);
    // Gives every control its accessible name, once all of them stand.
    void NameControls();
    void SetKeyboardOrder();
    // The controls in the design's keyboard order; the tab strip stands for the tab control.
    QList<QWidget*> m_keyboardOrder;
    void ConnectButtons();
    void SetUpPointer();
    // The five columns of ListView1 and the three of ListView2 with their widths.
    void AddListColumns();
    // The copy rules and the focus watch of the number and date boxes.
    void ConnectEntryRules();
    // Save applies the leave-the-box rules first; false when a date box holds no date.
    bool ApplyEntryRules();
    // The checks of Save in their order; false (message shown, focus set) when one fails.
    bool CheckBeforeSave();
    // Number fallback: text that is not numeric becomes "0".
    void NumberFallback(QLineEdit& box);
    // Date check: false (message shown, focus back in the box) when non-empty text is no date.
    bool DateCheck(QLineEdit& box);
    // The asset is gone: empty panes with totals of $0.00.
    void ShowNoHistory();
    // What SetData showed in each box; a box left so saves the stored value as it is.
    ShownValues m_shown;
    // The asset's lookup keys by column, read beside its row: two entries of a list may
    // show the same text, and the key tells which of them the asset points at.
    QHash<QString, long long> m_storedKeys;
    void ReadStoredKeys();
    // The stored money value of the edited asset's row; 0 when null or when there is no row.
    Currency StoredAmount(const QString& column) const;
    bool HasAssetRow() const;

    // While a date check shows its message and puts the focus back, further focus changes
    // must not start another check.
    bool m_checkingDate = false;
    // The six pane buttons work only once the asset has a key.
    void EnablePaneCommands();
    bool m_loaded = false;
};
