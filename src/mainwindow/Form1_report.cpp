// Create/Print Report: the asset report over a fresh recordset, in its modal preview.
#include "mainwindow/Form1.h"

#include "common/ErrorTrap.h"
#include "data/Globals.h"
#include "mainwindow/rptMain.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/ObjectFactory.h"

#include <memory>

namespace {

// The recordset an object variable holds; Nothing is run-time error 91.
Recordset& RecordsetOf(const AdoObject& object)
{
    const auto* recordset = std::get_if<std::unique_ptr<Recordset>>(&object);
    if (!recordset || !*recordset)
        throw RuntimeError("Object variable or With block variable not set", 91);
    return **recordset;
}

template <typename T> T& Instance(const std::unique_ptr<T>& object)
{
    if (!object)
        throw RuntimeError("Object variable or With block variable not set", 91);
    return *object;
}

} // namespace

// Create/Print Report: binds a new asset report to a new recordset of every asset, shows
// its preview modally over the main window and releases both when the preview closes.
void Form1::PushButton7_Click()
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.PushButton7_Click ");
    AdoObject rs;
    std::unique_ptr<rptMain> report;
    trap(100, [&] { rs = CreateObject("ADODB.Recordset"); });
    trap(102, [&] {
        RecordsetOf(rs).Open("select * from qryAssets", SharedConnection(), Recordset::adOpenStatic,
                             Recordset::adLockReadOnly);
    });
    trap(104, [&] { report = std::make_unique<rptMain>(); });
    trap(106, [&] { Instance(report).SetDataSource(&RecordsetOf(rs)); });
    // A cell that cannot be read is reported at this step, as the list reports it, and the
    // preview shows the rest.
    trap(108, [&] {
        Instance(report).Show(this, [&](const RuntimeError& error) {
            ReportError(error.Description(), trap.Location(), 108);
        });
    });
    trap(110, [&] { RecordsetOf(rs).Close(); });
    trap(112, [&] {
        report.reset();
        rs = AdoObject();
    });
}
