#include "shared/PasswordDialog.h"

#include "common/Window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordDialog::PasswordDialog(const QString& reason, const QString& inventory, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("PasswordDialog");
    setWindowTitle("Password");
    setFont(ArialFont(9, true));

    lblPrompt = new QLabel(QString("%1\n\nType the password for the shared inventory %2. Tarnwick "
                                   "keeps it only while it runs.")
                               .arg(reason, inventory),
                           this);
    lblPrompt->setObjectName("lblPrompt");
    lblPrompt->setWordWrap(true);
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName("txtPassword");
    txtPassword->setAccessibleName("Password");
    txtPassword->setEchoMode(QLineEdit::Password);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdOK = AddDialogButton(*this, *buttons, "cmdOK", "OK");
    cmdCancel = AddDialogButton(*this, *buttons, "cmdCancel", "Cancel");
    cmdOK->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPrompt);
    layout->addWidget(txtPassword);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString PasswordDialog::Password() const
{
    return txtPassword->text();
}
