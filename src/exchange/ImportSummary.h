#pragma once

#include <QDialog>

struct ImportPlan;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// What an import would do, shown before anything is written: how many assets it adds and
// updates and how many lookup values it adds, then every problem by line and column, the
// updated assets, the new lookup values and the columns it leaves out. Import is offered only
// when no line has a problem; Cancel leaves everything as it is.
class ImportSummary : public QDialog
{
    Q_OBJECT

public:
    ImportSummary(const QString& fileName, const ImportPlan& plan, QWidget* parent = nullptr);

    QLabel* Counts = nullptr;
    QPlainTextEdit* Details = nullptr;
    QPushButton* ImportButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
