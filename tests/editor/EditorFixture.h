#pragma once

#include "data/Globals.h"
#include "editor/Form4.h"
#include "platform/ui/ListView.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <sqlite3.h>

// Lookup rows and assets written straight into the test database, and the editor opened on
// them the way the main window opens it.

// Two rows in each lookup table, the later one first in its list's order.
struct LookupIds
{
    long long johnSmith, annOBrien, bolt, acme, printers, computers, retired, inUse, works, sales;
};

inline long long LastKey(const QString& table, const QString& column)
{
    return QueryCount("select max(" + column + ") from " + table);
}

inline LookupIds AddLookupRows()
{
    auto add = [](const char* table, const char* columns, const char* values, const char* key) {
        g_Conn->Execute(QString("insert into %1 (%2) values (%3)").arg(table, columns, values));
        return LastKey(table, key);
    };
    // Braced lists run left to right, so the keys come in the order of the fields.
    return {add("Employees", "FirstName,LastName", "'John','Smith'", "EmployeeID"),
            add("Employees", "FirstName,LastName", "'Ann','O''Brien'", "EmployeeID"),
            add("Vendors", "VendorName", "'Bolt'", "VendorID"),
            add("Vendors", "VendorName", "'Acme'", "VendorID"),
            add("[Asset Categories]", "AssetCategory", "'Printers'", "AssetCategoryID"),
            add("[Asset Categories]", "AssetCategory", "'Computers'", "AssetCategoryID"),
            add("Status", "Status", "'Retired'", "StatusID"),
            add("Status", "Status", "'In use'", "StatusID"),
            add("Departments", "DepartmentName", "'Works'", "DepartmentID"),
            add("Departments", "DepartmentName", "'Sales'", "DepartmentID")};
}

// A test's own database holding the lookup rows.
struct EditorCase
{
    explicit EditorCase(const QString& locale = "en_US") : env(locale)
    {
        env.OpenDatabase();
        ids = AddLookupRows();
    }
    TestEnvironment env;
    LookupIds ids{};
};

// Column values in their statement forms; "null" for a null value.
struct AssetRow
{
    QString description = "'Pump'";
    long long employee = 0, vendor = 0, category = 0, status = 0, department = 0;
    QString acquired = "null", sold = "null", next = "null";
    QString purchase = "CCur('800')", current = "CCur('700')", salvage = "null";
    QString life = "5", method = "'SL'", comments = "'None'";

    AssetRow(const LookupIds& ids)
        : employee(ids.annOBrien), vendor(ids.acme), category(ids.computers), status(ids.inUse),
          department(ids.sales)
    {
    }
};

inline QString AddAsset(const AssetRow& a)
{
    g_Conn->Execute(
        "insert into Assets (AssetDescription,EmployeeID,AssetCategoryID,StatusID,DepartmentID,"
        "VendorID,ModelNumber,SerialNumber,BarcodeNumber,DateAcquired,DateSold,PurchasePrice,"
        "DepreciationMethod,DepreciableLife,SalvageValue,CurrentValue,Comments,NextSchedMaint) "
        "values (" +
        QStringList{a.description, QString::number(a.employee), QString::number(a.category),
                    QString::number(a.status), QString::number(a.department),
                    QString::number(a.vendor), "'M1'", "'S1'", "'B1'", a.acquired, a.sold,
                    a.purchase, a.method, a.life, a.salvage, a.current, a.comments, a.next}
            .join(',') +
        ")");
    return QString::number(LastKey("Assets", "AssetID"));
}

inline void AddMaintenance(const QString& assetId, const QString& cost)
{
    g_Conn->Execute("insert into Maintenance (AssetID,MaintenanceDate,MaintenanceDescription,"
                    "MaintenancePerformedBy,MaintenanceCost) values (" +
                    assetId + ",'1/5/2026','Oil','Bob'," + cost + ")");
}

inline void AddDepreciation(const QString& assetId, const QString& amount)
{
    g_Conn->Execute("insert into Depreciation (AssetID,DepreciationDate,DepreciationAmount) "
                    "values (" +
                    assetId + ",'1/5/2026'," + amount + ")");
}

// Opens the editor as the main window does: variables, caption, then show. An empty key
// opens it for a new asset.
inline std::unique_ptr<Form4> OpenEditor(const QString& assetId = QString())
{
    auto form = std::make_unique<Form4>();
    form->m_AssetID = assetId;
    form->m_AddNew = assetId.isEmpty();
    form->SetCaption(assetId.isEmpty() ? "Add New Asset" : "Edit Data");
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get()))
        qWarning("the editor did not become the active window");
    return form;
}

inline void Choose(QComboBox* list, const QString& text)
{
    list->setCurrentIndex(list->findText(text));
}

// Fills every required field of the editor with valid values.
inline void FillRequired(Form4& form)
{
    Choose(form.cboEmployees, "O'Brien, Ann");
    Choose(form.cboVendors, "Acme");
    Choose(form.cboCategories, "Computers");
    Choose(form.cboStatus, "In use");
    Choose(form.cboDepartment, "Sales");
    form.txtDescription->setPlainText("Pump");
    form.txtModelNo->setText("M1");
    form.txtSerialNo->setText("S1");
    form.txtBarcodeNo->setText("B1");
    form.txtDeprMethod->setText("Straight line");
    form.txtComments->setPlainText("None");
}

inline QString Stored(const QString& column, const QString& assetId)
{
    return QueryText("select " + column + " from Assets where AssetID=" + assetId);
}

// What a box, list or text area shows.
inline QString Shown(const QWidget* control)
{
    if (auto* list = qobject_cast<const QComboBox*>(control))
        return list->currentText();
    if (auto* area = qobject_cast<const QPlainTextEdit*>(control))
        return area->toPlainText();
    auto* box = qobject_cast<const QLineEdit*>(control);
    return box ? box->text() : QStringLiteral("(no box)");
}

// The application's error report, naming the step that failed.
inline bool ReportedAt(const RecordingBoxes::Shown& box, const char* procedure, int step)
{
    return box.request.title == "Application Error" &&
           box.request.prompt.contains(QStringLiteral("in Tarnwick2021/08/31.Form4.%1 at line %2")
                                           .arg(QLatin1String(procedure))
                                           .arg(step));
}

// A plain notice: OK alone, no icon, the application's title.
inline bool IsNotice(const RecordingBoxes::Shown& box)
{
    return box.request.buttons == BoxButtons::OK && box.request.icon == BoxIcon::None &&
           box.request.title == AppTitle();
}

// From now on the database refuses every `action` ("update", "delete") on Assets; false when
// the refusal could not be set up.
inline bool RefuseOnAssets(const char* action)
{
    const QByteArray sql = QByteArray("create trigger refuse before ") + action +
                           " on Assets begin select raise(abort, 'refused for the test'); end";
    return sqlite3_exec(g_Conn->Handle(), sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}
