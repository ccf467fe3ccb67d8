#pragma once

#include "mainwindow/CommandsFixture.h"

#include <QHeaderView>
#include <QStringList>

// The texts of one column of the list, top to bottom.
inline QStringList ColumnTexts(const ListView& list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.ItemCount(); ++row)
        texts << (column == 0 ? list.ItemText(row) : list.SubItemText(row, column));
    return texts;
}

// Clicks a column's header as the user does; the column must be in view.
inline void ClickHeader(ListView& list, int column)
{
    QHeaderView* header = list.header();
    const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}
