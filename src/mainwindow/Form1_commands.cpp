// The record commands of the main window: add, edit, delete one and delete all assets.
#include "mainwindow/Form1.h"

#include "backup/Backups.h"
#include "common/ErrorTrap.h"
#include "data/AllOrNothing.h"
#include "data/SqlLiterals.h"
#include "editor/Form4.h"
#include "mainwindow/NewAsset.h"
#include "platform/ui/Boxes.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Modal.h"

namespace {

// Opens the editor modally, with no owner, on the asset `assetId` ("" with addNew for a new
// one). The hand-over variables are set before the caption, because setting the caption
// loads the editor, which reads them.
void OpenEditor(ErrorTrap& trap, int firstStep, bool addNew, const QString& assetId,
                const QString& caption)
{
    Form4 editor;
    trap(firstStep, [&] { editor.m_AddNew = addNew; });
    trap(firstStep + 2, [&] { editor.m_AssetID = assetId; });
    trap(firstStep + 4, [&] { editor.SetCaption(caption); });
    trap(firstStep + 6, [&] { ShowModal(editor); });
}

// A Yes/No question with a title of its own and no icon; only Yes goes on. A question before
// a delete of many rows has No as its default button, so a stray Enter deletes nothing.
bool Confirmed(ErrorTrap& trap, int step, const QString& question, const QString& title,
               BoxDefault defaultButton = BoxDefault::First)
{
    bool yes = false;
    trap(step, [&] {
        yes = MsgBox(question, BoxButtons::YesNo, BoxIcon::None, title, defaultButton) ==
              BoxAnswer::Yes;
    });
    return yes;
}

// 0-based row of the selected asset; -1 when the list is empty or nothing is selected, and
// then the commands on one asset do nothing.
int SelectedRow(const ListView& list)
{
    return list.ItemCount() > 0 ? list.SelectedIndex() : -1;
}

} // namespace

// Add New Record: opens the editor empty, then rebuilds the list and selects the asset the
// editor added, so that its histories can be added at once.
void Form1::PushButton2_Click()
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.PushButton2_Click ");
    // Our own steps carry numbers after the design's, which keep theirs.
    QString newestBefore;
    trap(110, [&] { newestBefore = NewestAssetKey(); });
    OpenEditor(trap, 100, true, "", "Add New Asset");
    trap(108, [&] { ListData(); });
    trap(112, [&] {
        // Keys only grow: a larger one is the asset the editor added.
        const QString newest = NewestAssetKey();
        if (newest.toLongLong() > newestBefore.toLongLong())
            ShowAsset(*ListView1, newest);
    });
}

// Edit Selected Record: opens the editor on the selected asset, rebuilds the list and
// selects the same position again when the list still reaches past it.
void Form1::PushButton1_Click()
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.PushButton1_Click ");
    int row = -1;
    trap(100, [&] { row = SelectedRow(*ListView1); });
    if (row < 0)
        return;
    // 1-based, as the list's positions are counted.
    const int savedPosition = row + 1;
    QString assetId;
    trap(102, [&] { assetId = ListView1->ItemText(row); });
    OpenEditor(trap, 104, false, assetId, "Edit Data");
    trap(112, [&] { ListData(); });
    // Strictly greater: after editing the last row no row is selected again.
    trap(114, [&] {
        if (ListView1->ItemCount() > savedPosition)
            ListView1->SelectItem(savedPosition - 1);
    });
}

// Delete Selected Record: after confirmation deletes the selected asset with its
// depreciation and maintenance entries, then rebuilds the list.
void Form1::PushButton3_Click()
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.PushButton3_Click ");
    int row = -1;
    trap(100, [&] { row = SelectedRow(*ListView1); });
    if (row < 0)
        return;
    if (!Confirmed(trap, 102, "Are you sure you want to delete this asset?",
                   "Delete Current Asset"))
        return;
    trap(104, [&] {
        const QString id = IdLiteral(ListView1->ItemText(row));
        ExecuteAllOrNothing({"delete from Assets where AssetID=" + id,
                             "delete from Depreciation where AssetID=" + id,
                             "delete from Maintenance where AssetID=" + id});
    });
    trap(106, [&] { ListData(); });
}

// Delete All Records: after confirmation and a backup empties the assets and both histories
// (the lookup lists stay), then rebuilds the list.
void Form1::PushButton5_Click()
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.PushButton5_Click ");
    bool hasRows = false;
    trap(100, [&] { hasRows = ListView1->ItemCount() > 0; });
    if (!hasRows)
        return;
    if (!Confirmed(trap, 102, "Are you sure you would like to delete all records?",
                   "Delete All Records", BoxDefault::Second))
        return;
    trap(104, [&] {
        BackUpBefore("Delete All");
        ExecuteAllOrNothing(
            {"delete from Assets", "delete from Depreciation", "delete from Maintenance"});
    });
    trap(106, [&] { ListData(); });
}
