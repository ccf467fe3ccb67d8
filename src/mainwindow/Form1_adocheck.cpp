// The start-up check of the data-access layer and the offer to repair it.
#include "mainwindow/Form1.h"

#include "common/Files.h"
#include "platform/adodb/ObjectFactory.h"
#include "platform/os/AddressWidth.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/RunAndWait.h"
#include "platform/ui/Boxes.h"

#include <functional>

namespace {

// The check must never stop start-up nor report anything: a step that fails is skipped.
bool Quietly(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

const QString kRepairQuestion =
    "Error #193: ADO is not properly installed on this computer. \r\n"
    "You need to have it installed to use this software without error.\r\n\r\n"
    "Would you like to repair it now?";
const QString kStopQuestion = "ADO is fixed on this computer. \r\n"
                              "You need to restart your computer and software.\r\n\r\n"
                              "Would you like to stop software now?";
const QString kWhereToLook =
    "Please check for MDAC installation.\r\n\r\n"
    "Please check this: https://support.tarnwick.example/kb/2640696 and look for 'How to "
    "obtain this update' section and download the appropriate update.\r\n\r\n"
    "Please email support@tarnwick.example with a screenshot of this message if you have any "
    "questions.";

bool AskedYes(const QString& question)
{
    return MsgBox(question, BoxButtons::YesNo) == BoxAnswer::Yes;
}

} // namespace

// Creates the two data-access objects the program works with; when that fails, offers the
// repair package for this processor and, once it has run, to end the program. The
// window is not shown yet and the application title not set, so the boxes carry the
// built-in title.
void Form1::IsADOInstalled()
{
    AdoObject connection;
    AdoObject recordset;
    bool created = Quietly([&] { connection = CreateObject("ADODB.Connection"); });
    created = Quietly([&] { recordset = CreateObject("ADODB.Recordset"); }) && created;
    if (created && !IsNothing(connection) && !IsNothing(recordset))
        return;

    bool repair = false;
    Quietly([&] { repair = AskedYes(kRepairQuestion); });
    if (!repair) {
        Quietly([] { MsgBox(kWhereToLook); });
        return;
    }
    QString width;
    Quietly([&] { width = GetProcessorAddressWidth(); });
    const QString package = ProgramFolder() + (width == "64" ? "/ADOFix64.msu" : "/ADOFix86.msu");
    if (!FileExists(package))
        return;
    // Whether the package worked is not known here; the question comes all the same.
    Quietly([&] { RunAndWait(package, 0); });
    Quietly([&] { m_endRequested = AskedYes(kStopQuestion); });
}
