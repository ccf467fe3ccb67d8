#include "mainwindow/FindField.h"

#include "platform/ui/ListView.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

FindField::FindField(ListView& list, QWidget* parent)
    : QWidget(parent), m_list(list), m_edit(new QLineEdit(this)), m_count(new QLabel(this))
{
    setObjectName("FindBar");
    setAccessibleName("Search");
    m_edit->setObjectName("FindField");
    m_edit->setAccessibleName("Find");
    m_edit->setPlaceholderText("Find (Ctrl+F)");
    m_edit->setClearButtonEnabled(true);
    // Reached by Ctrl+F and Edit > Find…; Tab keeps to the design's order of the window.
    m_edit->setFocusPolicy(Qt::ClickFocus);
    m_edit->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);
    m_edit->installEventFilter(this);
    m_count->setObjectName("FindCount");
    m_count->setAccessibleName("Rows shown");
    // As wide as the longest count, so that the field stays where it is while one types.
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_count->setMinimumWidth(fontMetrics().horizontalAdvance("888,888 due of 888,888"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(m_count);
    layout->addWidget(m_edit);

    connect(m_edit, &QLineEdit::textChanged, &m_list, &ListView::SetFindText);
    connect(&m_list, &ListView::ShownChanged, this, [this] {
        if (m_edit->text() != m_list.FindText())
            m_edit->setText(m_list.FindText());
        ShowCount();
    });
    ShowCount();
}

void FindField::Activate()
{
    m_edit->setFocus(Qt::ShortcutFocusReason);
    m_edit->selectAll();
}

bool FindField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !m_edit->text().isEmpty()) {
        m_edit->clear();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FindField::ShowCount()
{
    if (!m_list.Filtered()) {
        m_count->clear();
        return;
    }
    const QLocale locale;
    const QString shown = locale.toString(m_list.ItemCount());
    const QString total = locale.toString(m_list.TotalCount());
    m_count->setText(m_list.Ceiling() ? QString("%1 due of %2").arg(shown, total)
                                      : QString("%1 of %2").arg(shown, total));
}
