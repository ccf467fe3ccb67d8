#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the password of a shared inventory whose server wants one that libpq did not find
// (in ~/.pgpass, PGPASSWORD or a service file), or refused. Tarnwick keeps it in memory only.
class PasswordDialog : public QDialog
{
    Q_OBJECT

public:
    // `reason`: what the server said ("The server refused the password for user anna.");
    // `inventory`: as the window title names it ("inventory@db.example").
    PasswordDialog(const QString& reason, const QString& inventory, QWidget* parent = nullptr);

    QString Password() const;

    QLabel* lblPrompt = nullptr;
    QLineEdit* txtPassword = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};
