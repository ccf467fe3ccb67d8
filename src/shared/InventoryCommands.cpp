#include "shared/InventoryCommands.h"

#include "backup/Backups.h"
#include "backup/windows/RestoreDialog.h"
#include "common/ErrorTrap.h"
#include "data/CopyInventory.h"
#include "data/Globals.h"
#include "data/Provisioning.h"
#include "data/SharedInventory.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Errors.h"
#include "platform/adodb/PgConnect.h"
#include "platform/adodb/Recordset.h"
#include "platform/ui/Boxes.h"
#include "platform/ui/Modal.h"
#include "shared/InventoryDialog.h"
#include "shared/PasswordDialog.h"

namespace {

const QString kOpenTitle = QStringLiteral("Open Shared Inventory");
const QString kCopyTitle = QStringLiteral("Copy Local Inventory to Server");

// Opens `connection` on the inventory; as long as its server wants a password that it was not
// given, asks for one over `owner`. Cancel throws what the server said last.
void OpenAskingPassword(Connection& connection, const QString connectionString, QWidget* owner)
{
    QString attempt = connectionString;
    for (;;) {
        try {
            OpenInventory(connection, attempt);
            return;
        } catch (const RuntimeError& error) {
            if (error.Number() != kLoginFailedNumber)
                throw;
            PasswordDialog dialog(error.Description(), InventoryName(connectionString));
            ShowModal(dialog, owner);
            if (dialog.result() != QDialog::Accepted)
                throw;
            attempt = WithPassword(connectionString, dialog.Password());
        }
    }
}

long long AssetsOf(Connection& connection)
{
    Recordset count;
    count.Open("select count(*) from qryAssets", connection);
    return count.Fields(0).Value.longValue();
}

// The shared inventory that the dialog proposes: the one open, else the one kept.
QString ProposedInventory()
{
    return g_Conn && g_Conn->IsShared() ? g_Conn->Source() : KeptInventory();
}

// Puts `next` in place of the inventory open, keeps the choice, shows it and makes the day's
// backup; steps `step` to `step` + 6.
void Use(ErrorTrap& trap, int step, std::unique_ptr<Connection> next,
         const std::function<void()>& opened)
{
    const QString kept = next->IsShared() ? next->Source() : QString();
    trap(step, [&] {
        if (g_Conn && g_Conn->State() != Connection::adStateClosed)
            g_Conn->Close();
        g_Conn = std::move(next);
    });
    trap(step + 2, [&] { KeepInventory(kept); });
    trap(step + 4, opened);
    trap(step + 6, [] { DailyBackup(); });
}

} // namespace

QString InventoryTitle(const QString& connectionString)
{
    if (!IsServerConnectionString(connectionString))
        return QStringLiteral("Tarnwick");
    return QStringLiteral("Tarnwick — shared: ") + InventoryName(connectionString);
}

void OpenKeptInventory(QWidget* owner)
{
    g_Conn = std::make_unique<Connection>();
    const QString kept = KeptInventory();
    OpenAskingPassword(*g_Conn, kept.isEmpty() ? ConnectionString() : kept, owner);
}

void ReopenInventory(QWidget& owner)
{
    if (!g_Conn || g_Conn->State() != Connection::adStateClosed || g_Conn->Source().isEmpty())
        return;
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.ReopenInventory ");
    trap(100, [&] { OpenAskingPassword(*g_Conn, g_Conn->Source(), &owner); });
}

void OpenSharedInventoryCommand(QWidget& owner, const std::function<void()>& opened)
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.OpenSharedInventory ");
    std::unique_ptr<Connection> next;
    InventoryDialog dialog(
        kOpenTitle,
        "A shared inventory lies in a PostgreSQL database on a server, where everyone in the "
        "team works on the same assets. Tarnwick sets up its tables in an empty database.",
        "&Open", [&](const QString& connectionString, const SayProgress&) {
            auto connection = std::make_unique<Connection>();
            OpenInventory(*connection, connectionString);
            next = std::move(connection);
        });
    trap(100, [&] {
        dialog.ShowAddress(ProposedInventory());
        ShowModal(dialog, &owner);
    });
    if (next)
        Use(trap, 102, std::move(next), opened);
}

void UseLocalInventoryCommand(const std::function<void()>& opened)
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.UseLocalInventory ");
    auto local = std::make_unique<Connection>();
    if (trap(100, [&] {
            ProvisionDatabase();
            local->Open(ConnectionString());
        }))
        Use(trap, 102, std::move(local), opened);
}

void CopyLocalInventoryCommand(QWidget& owner, const std::function<void()>& opened)
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.CopyLocalInventory ");
    long long assets = 0;
    if (!trap(100, [&] {
            Connection local;
            local.Open(ConnectionString());
            assets = AssetsOf(local);
        }))
        return;
    std::unique_ptr<Connection> next;
    InventoryDialog dialog(
        kCopyTitle,
        QString("Copies the local inventory (%1) with its histories and lookup lists into an "
                "empty database on a server, and then opens it there. The local inventory stays "
                "as it is.")
            .arg(AssetsText(assets)),
        "&Copy", [&](const QString& connectionString, const SayProgress& say) {
            Connection local;
            local.Open(ConnectionString());
            auto target = std::make_unique<Connection>();
            OpenInventory(*target, connectionString);
            CopyInventory(local, *target, [&](const QString& table, int done, int total) {
                say(QString("Copying %1 (table %2 of %3)…").arg(table).arg(done + 1).arg(total));
            });
            assets = AssetsOf(*target);
            next = std::move(target);
        });
    trap(102, [&] {
        dialog.ShowAddress(ProposedInventory());
        ShowModal(dialog, &owner);
    });
    if (!next)
        return;
    const QString name = InventoryName(next->Source());
    Use(trap, 104, std::move(next), opened);
    trap(112, [&] {
        MsgBox(QString("The local inventory (%1) was copied to %2, which is open now. The local "
                       "inventory stays as it was: File → Use Local Inventory opens it again.")
                   .arg(AssetsText(assets), name),
               BoxButtons::OK, BoxIcon::Information, kCopyTitle);
    });
}
