#include "mainwindow/NewAsset.h"

#include "data/Globals.h"
#include "platform/adodb/Recordset.h"
#include "platform/conv/Conv.h"
#include "platform/ui/ListView.h"

QString NewestAssetKey()
{
    Recordset records;
    records.Open("select max(AssetID) as [NewestID] from Assets", SharedConnection());
    return TextOf(records.Fields("NewestID").Value);
}

void ShowAsset(ListView& list, const QString& key)
{
    if (key.isEmpty())
        return;
    int row = list.FindItem(key);
    if (row < 0 && list.Filtered()) {
        list.SetCeiling(std::nullopt);
        list.SetFindText(QString());
        row = list.FindItem(key);
    }
    if (row < 0)
        return;
    list.SelectItem(row);
    list.EnsureVisible(row);
}
