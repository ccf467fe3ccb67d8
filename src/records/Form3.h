#pragma once

// moc cannot read the C++20 standard headers that this pulls in, and needs none of them.
#ifndef Q_MOC_RUN
#include "common/ShownValues.h"
#endif
#include "platform/ui/MousePointer.h"

#include <QDialog>
#include <QString>

class QDateEdit;
class QLineEdit;
class QPushButton;

// The depreciation record dialog: adds one depreciation entry (a date and an amount) to an
// asset or changes one. Opened like the maintenance record dialog.
class Form3 : public QDialog
{
    Q_OBJECT

public:
    explicit Form3(QWidget* parent = nullptr);
    ~Form3() override;

    QString m_ID;      // DepreciationID of the entry to edit; empty to add one
    QString m_AssetID; // the owning asset

    // Sets the caption; the first call loads the dialog (Form_Load).
    void SetCaption(const QString& caption);

    void LoadData();
    void PushButton1_Click(); // Cancel
    void PushButton2_Click(); // Save

    QLineEdit* txtCost = nullptr; // holds the amount
    QDateEdit* dtpDate = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton2 = nullptr;
    PointerRule* Pointer = nullptr;

private:
    void Form_Load();
    bool m_loaded = false;
    // What LoadData showed; a control left so saves the stored value as it is.
    ShownValues m_shown;
};
