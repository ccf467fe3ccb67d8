#pragma once

#include "shared/WhileWorking.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// Where a shared inventory lies: the server, its port, the database, the user, the password
// and the TLS mode (libpq's sslmode). Test tries the connection and shows what it found, or
// what failed, in plain words; the action button (Open, Copy) runs the caller's work and
// closes the window when it succeeds, or shows why it failed and stays open.
class InventoryDialog : public QDialog
{
    Q_OBJECT

public:
    // The work of the action button on the connection string of the boxes; it throws
    // RuntimeError when it fails. It runs on a thread of its own (see WhileWorking).
    using Action = std::function<void(const QString& connectionString, const SayProgress& say)>;

    InventoryDialog(const QString& title, const QString& intro, const QString& actionCaption,
                    Action action, QWidget* parent = nullptr);

    // Fills the boxes with the parts of a connection string (the password is never shown).
    void ShowAddress(const QString& connectionString);
    // The connection string of the boxes; with the password when one was typed.
    QString ConnectionString() const;

    QLineEdit* txtServer = nullptr;
    QSpinBox* txtPort = nullptr;
    QLineEdit* txtDatabase = nullptr;
    QLineEdit* txtUser = nullptr;
    QLineEdit* txtPassword = nullptr;
    QComboBox* cboTlsMode = nullptr;
    QLabel* lblResult = nullptr;
    QPushButton* cmdTest = nullptr;
    QPushButton* cmdAction = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    // Test: what the connection finds, without changing anything.
    void cmdTest_Click();
    // Open / Copy: the caller's work.
    void cmdAction_Click();
    // Shows what a try found; a password that is missing or refused puts the focus in its box.
    void ShowResult(const QString& text, bool works, bool needsPassword);

    Action m_action;
};
