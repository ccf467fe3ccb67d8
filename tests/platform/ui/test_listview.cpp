#include "data/Globals.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Twips.h"
#include "support/TestSupport.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

namespace {

// A list of an id column sorted by value and a name column sorted by text.
struct IdsAndNames
{
    ListView list;

    IdsAndNames()
    {
        list.AddColumn("ID");
        list.AddColumn("Name");
        list.SetColumnSortKind(0, ListView::SortKind::Value);
    }

    // An empty id gets no sort value, as a null does.
    void Add(const QString& id, const QString& name)
    {
        const int row = list.AddItem(id);
        if (!id.isEmpty())
            list.SetSortValue(row, 0, id.toDouble());
        list.SetSubItem(row, 1, name);
    }

    void SortBy(int column, int order)
    {
        list.SetSortKey(column);
        list.SetSortOrder(order);
        list.SetSorted(true);
    }

    QStringList Column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < list.ItemCount(); ++row)
            texts << (column == 0 ? list.ItemText(row) : list.SubItemText(row, column));
        return texts;
    }
};

} // namespace

class TestListView : public QObject
{
    Q_OBJECT

private slots:
    // Cells, a column added to a filled list, clearing, widths; indexes past the list are
    // errors that change nothing.
    void columnsCellsWidthsAndBadIndexes()
    {
        IdsAndNames t;
        QCOMPARE(t.list.ColumnCount(), 2);
        QCOMPARE(t.list.model()->headerData(1, Qt::Horizontal).toString(), QString("Name"));
        t.Add("7", "Seven");
        t.Add("3", "");
        QCOMPARE(t.Column(0), QStringList({"7", "3"}));
        QCOMPARE(t.Column(1), QStringList({"Seven", ""}));
        QCOMPARE(t.list.model()->index(0, 1).data().toString(), QString("Seven"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, t.list.SetSubItem(0, 2, "no such column"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, t.list.SetSubItem(2, 1, "no such row"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, t.list.ItemText(-1));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, t.list.SelectItem(5));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, t.list.SetSortOrder(2));
        QCOMPARE(t.Column(1), QStringList({"Seven", ""}));

        // A column added to a filled list comes empty and leaves the other cells in place.
        t.list.AddColumn("Extra");
        QCOMPARE(t.Column(2), QStringList({"", ""}));
        QCOMPARE(t.Column(1), QStringList({"Seven", ""}));
        QCOMPARE(t.Column(0), QStringList({"7", "3"}));

        t.list.Clear();
        QCOMPARE(t.list.ItemCount(), 0);
        QCOMPARE(t.list.ColumnCount(), 3);
        QCOMPARE(t.list.SelectedIndex(), -1);

        // Widths read back as set, also one that is no whole number of pixels at 15 twips a
        // pixel; one the user drags is what the screen shows.
        t.list.SetColumnWidth(0, 1200);
        t.list.SetColumnWidth(1, 1000);
        t.list.SetColumnWidth(2, 0);
        QCOMPARE(t.list.ColumnWidth(0), 1200.0);
        QCOMPARE(t.list.ColumnWidth(1), 1000.0);
        QCOMPARE(t.list.ColumnWidth(2), 0.0);
        QCOMPARE(t.list.header()->sectionSize(0), TwipsToPixels(1200));
        QCOMPARE(t.list.header()->sectionSize(2), 0);
        t.list.header()->resizeSection(1, 90);
        QCOMPARE(t.list.ColumnWidth(1), PixelsToTwips(90));
    }

    // Values with the empty one first, both ways; the selection follows its row, and
    // unsorting keeps the order rows have.
    void valuesSortByValueAndSelectionFollowsItsRow()
    {
        IdsAndNames t;
        for (const char* id : {"10", "2", "", "9", "100", "-1.5"})
            t.Add(id, QString("n") + id);
        t.list.SelectItem(0);
        t.SortBy(0, 0);
        QCOMPARE(t.Column(0), QStringList({"", "-1.5", "2", "9", "10", "100"}));
        QCOMPARE(t.Column(1), QStringList({"n", "n-1.5", "n2", "n9", "n10", "n100"}));
        QCOMPARE(t.list.SelectedIndex(), 4); // the row of "10"
        t.list.SetSortOrder(1);
        QCOMPARE(t.Column(0), QStringList({"100", "10", "9", "2", "-1.5", ""}));
        QCOMPARE(t.list.ItemText(t.list.SelectedIndex()), QString("10"));

        t.list.SetSorted(false);
        t.Add("0", "0");
        QCOMPARE(t.Column(0), QStringList({"100", "10", "9", "2", "-1.5", "", "0"}));
        QVERIFY(!t.list.Sorted());
        t.list.SelectItem(-1);
        QCOMPARE(t.list.SelectedIndex(), -1);
    }

    // Text sorts without regard to case, accents beside their base letter, under every locale
    // (the C locale too): in the list, and where a statement orders a text column, as the
    // lookup lists are ordered. Equal texts ("Apple", "apple") keep the order they came in.
    void textSortsWithoutRegardToCaseUnderEveryLocale()
    {
        const QStringList names{"banana", "Apple",  "",     "cherry",     "apple", "Ångström",
                                "Éclair", "eclair", "Zeta", "acme tools", "10",    "9"};
        // Numbers written as text sort as text.
        const QString sorted = "|10|9|acme tools|ångström|apple|apple|banana|cherry|eclair|"
                               "éclair|zeta";
        for (const char* locale : {"C", "en_US", "de_DE"}) {
            TestEnvironment env(locale);
            IdsAndNames t;
            for (int i = 0; i < names.size(); ++i)
                t.Add(QString::number(i), names[i]);
            t.SortBy(1, 0);
            QCOMPARE(t.Column(1).join('|').toLower(), sorted);
            t.list.SetSortOrder(1);
            QStringList reversed = t.Column(1);
            std::reverse(reversed.begin(), reversed.end());
            QCOMPARE(reversed.join('|').toLower(), sorted);
            // Back to the id column, which sorts by value.
            t.SortBy(0, 0);
            QCOMPARE(t.Column(0).mid(0, 3), QStringList({"0", "1", "2"}));

            env.OpenDatabase();
            for (const QString& name : names)
                g_Conn->Execute("insert into Vendors (VendorName) values ('" + name + "')");
            Recordset rs;
            rs.Open("select * from Vendors order by VendorName", *g_Conn);
            QStringList ordered;
            for (; !rs.Eof(); rs.MoveNext())
                ordered << TextOf(rs.Fields("VendorName").Value);
            QCOMPARE(ordered.join('|').toLower(), sorted);
        }
    }

    void rowsAddedLaterStaySorted()
    {
        IdsAndNames t;
        t.SortBy(1, 0);
        // One by one, as a caller fills a row: the row keeps its number until it is filled.
        t.Add("1", "pear");
        t.Add("2", "apple");
        t.Add("3", "fig");
        QCOMPARE(t.Column(1), QStringList({"apple", "fig", "pear"}));
        QCOMPARE(t.Column(0), QStringList({"2", "3", "1"}));

        // A rebuild inside an update sorts once, at its end, and keeps the sort state.
        t.list.BeginUpdate();
        t.list.Clear();
        for (int i = 0; i < 50; ++i)
            t.Add(QString::number(i), QString("name %1").arg(49 - i, 2, 10, QChar('0')));
        QCOMPARE(t.list.ItemText(0), QString("0")); // still in the order added
        t.list.EndUpdate();
        QCOMPARE(t.list.ItemText(0), QString("49"));
        QCOMPARE(t.list.SubItemText(49, 1), QString("name 49"));
        QVERIFY(t.list.Sorted() && t.list.SortKey() == 1);

        // Nobody reads the list again: it still sorts before the view shows it.
        t.Add("x", "a first");
        QTRY_COMPARE(t.list.model()->index(0, 1).data().toString(), QString("a first"));
    }

    // A find shows the rows that hold every word in some cell, without regard to case or
    // accents, in the sorted order; it stays through rebuilds and drops a selection it hides.
    void findShowsTheRowsWithEveryWordAndKeepsTheRowsThemselves()
    {
        IdsAndNames t;
        t.list.AddColumn("Vendor");
        const QStringList names{"José Núñez", "jose", "Dell 5440", "dell", "İstanbul office"};
        auto fill = [&] {
            t.list.BeginUpdate();
            t.list.Clear();
            for (int i = 0; i < names.size(); ++i) {
                t.Add(QString::number(i + 1), names[i]);
                t.list.SetSubItem(i, 2, i == 3 ? "model 5440" : "");
            }
            t.list.EndUpdate();
        };
        fill();
        t.list.SelectItem(2);
        const struct
        {
            QString find;
            QStringList ids;
        } finds[] = {
            {"JOSE", {"1", "2"}},
            {"nunez jose", {"1"}},
            {"dell 5440", {"3", "4"}},
            {"  ", {"1", "2", "3", "4", "5"}},
            {"istanbul", {"5"}},
            {"5440 xyz", {}},
            {"\u0301", {"1", "2", "3", "4", "5"}},
        };
        for (const auto& f : finds) {
            t.list.SetFindText(f.find);
            QCOMPARE(t.Column(0), f.ids);
            QCOMPARE(t.list.TotalCount(), 5);
        }
        // Sorted, rebuilt, and with a row added: still only the matching rows, in order.
        t.list.SetFindText("dell");
        t.SortBy(0, 1);
        fill();
        t.Add("6", "DELL XPS");
        QCOMPARE(t.Column(0), QStringList({"6", "4", "3"}));
        // A selected row stays selected while shown, and is dropped when the find hides it.
        t.list.SelectItem(2);
        t.list.SetFindText("5440");
        QCOMPARE(t.Column(0), QStringList({"4", "3"}));
        QCOMPARE(t.list.ItemText(t.list.SelectedIndex()), QString("3"));
        t.list.SetFindText("xps");
        QCOMPARE(t.list.SelectedIndex(), -1);
        t.list.SetFindText("");
        QCOMPARE(t.Column(0), QStringList({"6", "5", "4", "3", "2", "1"}));
        QVERIFY(!t.list.Filtered());

        // A ceiling on the id column: the ids up to 3, with the find on top of it.
        t.list.SetCeiling(ListView::ValueCeiling{0, 3});
        QCOMPARE(t.Column(0), QStringList({"3", "2", "1"}));
        t.list.SetFindText("jose");
        QCOMPARE(t.Column(0), QStringList({"2", "1"}));
    }

    void headerClickAndViewBehaviour()
    {
        IdsAndNames t;
        t.Add("1", "one");
        t.list.resize(400, 200);
        t.list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&t.list));
        QSignalSpy clicks(&t.list, &ListView::ColumnClick);
        const int x = t.list.header()->sectionViewportPosition(1) + 5;
        QTest::mouseClick(t.list.header()->viewport(), Qt::LeftButton, {},
                          QPoint(x, t.list.header()->height() / 2));
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(clicks[0][0].toInt(), 1);
        // The list itself does not sort on a click; its owner decides.
        QVERIFY(!t.list.Sorted());

        QCOMPARE(t.list.selectionBehavior(), QAbstractItemView::SelectRows);
        const QRect cell = t.list.visualRect(t.list.model()->index(0, 1));
        QTest::mouseClick(t.list.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(t.list.SelectedIndex(), 0);
        QVERIFY(!(t.list.model()->flags(t.list.model()->index(0, 0)) & Qt::ItemIsEditable));
    }
};

QTEST_MAIN(TestListView)
#include "test_listview.moc"
