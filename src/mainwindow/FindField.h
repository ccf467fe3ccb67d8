#pragma once

#include <QWidget>

class ListView;
class QLabel;
class QLineEdit;

// Find as you type: a search field and the count of the rows it shows ("12 of 1,505"). The
// list shows only the rows that hold every typed word; Escape clears the field. The field
// follows the list, so a find cleared elsewhere clears the field too.
class FindField : public QWidget
{
    Q_OBJECT

public:
    FindField(ListView& list, QWidget* parent);

    QLineEdit* Edit() const { return m_edit; }
    // Puts the focus in the field with its text selected, ready for a new find.
    void Activate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowCount();

    ListView& m_list;
    QLineEdit* m_edit;
    QLabel* m_count;
};
