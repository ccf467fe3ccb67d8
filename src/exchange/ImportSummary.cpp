#include "exchange/ImportSummary.h"

#include "exchange/Import.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Counted(qsizetype count, const QString& one, const QString& many)
{
    return QLocale().toString(count) + " " + (count == 1 ? one : many);
}

void AddSection(QStringList& lines, const QString& heading, const QStringList& entries)
{
    if (entries.isEmpty())
        return;
    if (!lines.isEmpty())
        lines << QString();
    lines << heading;
    for (const QString& entry : entries)
        lines << "    " + entry;
}

} // namespace

ImportSummary::ImportSummary(const QString& fileName, const ImportPlan& plan, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("ImportSummary");
    setWindowTitle("Import Assets");

    const int lookups = int(plan.newLookups.size());
    QString counts = QString("%1: %2 to add, %3 to update, %4.")
                         .arg(fileName, Counted(plan.adds, "asset", "assets"),
                              QLocale().toString(qsizetype(plan.updates.size())),
                              Counted(lookups, "new lookup value", "new lookup values"));
    if (!plan.problems.empty())
        counts += "\n\n" +
                  Counted(qsizetype(plan.problems.size()), "problem stops", "problems stop") +
                  " the import; nothing has been written. Mend the lines below in the file and "
                  "import it again.";
    else if (plan.statements.isEmpty())
        counts += "\n\nThe file holds no assets; there is nothing to import.";
    else
        counts += "\n\nImport writes all of it in one step; Cancel leaves everything as it is.";
    Counts = new QLabel(counts, this);
    Counts->setObjectName("Counts");
    Counts->setWordWrap(true);

    QStringList problems;
    for (const ImportProblem& problem : plan.problems)
        problems << problem.Text();
    QStringList updates;
    for (const ImportPlan::Update& update : plan.updates)
        updates << QString("line %1: asset %2, Barcode Number '%3'")
                       .arg(update.line)
                       .arg(update.assetKey, update.barcode);
    QStringList lines;
    AddSection(lines, "Problems:", problems);
    AddSection(lines, "Lines that update the asset with their Barcode Number:", updates);
    AddSection(lines, "New lookup values:", plan.newLookups);
    AddSection(lines, "Columns not imported:", plan.ignoredColumns);
    Details = new QPlainTextEdit(lines.join('\n'), this);
    Details->setObjectName("Details");
    Details->setAccessibleName("Details of the import");
    Details->setReadOnly(true);
    Details->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* buttons = new QDialogButtonBox(this);
    ImportButton = buttons->addButton("&Import", QDialogButtonBox::AcceptRole);
    ImportButton->setObjectName("ImportButton");
    ImportButton->setEnabled(plan.problems.empty() && !plan.statements.isEmpty());
    CancelButton = buttons->addButton(QDialogButtonBox::Cancel);
    CancelButton->setObjectName("CancelButton");
    (ImportButton->isEnabled() ? ImportButton : CancelButton)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Counts);
    layout->addWidget(Details, 1);
    layout->addWidget(buttons);
    resize(720, 440);
}
