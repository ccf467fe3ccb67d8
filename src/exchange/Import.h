#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QIODevice;

// A value of one line that cannot be imported, or a line that cannot be read.
struct ImportProblem
{
    int line;
    QString column; // the column's caption in the file; empty for the line as a whole
    QString text;   // "'twelve' is no amount"

    QString Text() const; // "line 14, Purchase Price: 'twelve' is no amount"
};

// What importing a CSV file would do, worked out before anything is written: which lines add
// an asset, which update one (their Barcode Number is an existing asset's), which lookup
// values are new, which columns are not imported and what is wrong with which line.
struct ImportPlan
{
    struct Update
    {
        int line;
        QString assetKey;
        QString barcode;
    };
    int adds = 0;
    std::vector<Update> updates;
    QStringList newLookups;     // "Vendor Name 'Acme'"
    QStringList ignoredColumns; // with the reason where it is not obvious
    std::vector<ImportProblem> problems;
    // The statements that do all of it, new lookup values first; run them all or none.
    QStringList statements;
};

// Reads the file and plans its import against the database. Throws FileError with a plain
// description for a file that cannot be imported at all (no text, no Description column),
// RuntimeError when the database cannot be read; problems of single lines go into the plan.
ImportPlan PlanImport(QIODevice& file);
