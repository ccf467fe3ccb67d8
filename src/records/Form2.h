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

// The maintenance record dialog: adds one maintenance entry to an asset or changes one.
// The caller sets m_ID, then m_AssetID, then the caption (which loads the dialog), then
// shows it modally.
class Form2 : public QDialog
{
    Q_OBJECT

public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

    QString m_ID;      // MaintenanceID of the entry to edit; empty to add one
    QString m_AssetID; // the owning asset

    // Sets the caption; the first call loads the dialog (Form_Load).
    void SetCaption(const QString& caption);

    void LoadData();
    void PushButton1_Click(); // Cancel
    void PushButton2_Click(); // Save

    QDateEdit* dtpDate = nullptr;
    QLineEdit* txtDescription = nullptr;
    QLineEdit* txtPerformedBy = nullptr;
    QLineEdit* txtCost = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton2 = nullptr;
    PointerRule* Pointer = nullptr;

private:
    void Form_Load();
    bool m_loaded = false;
    // What LoadData showed; a control left so saves the stored value as it is.
    ShownValues m_shown;
};
