#include "shared/InventoryDialog.h"

#include "common/Window.h"
#include "data/SharedInventory.h"
#include "platform/RuntimeError.h"
#include "platform/adodb/Errors.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// libpq's TLS modes, from none to the strictest, each with what it means to a user.
constexpr std::pair<const char*, const char*> kTlsModes[] = {
    {"disable", "never encrypted"},
    {"allow", "encrypted only when the server insists"},
    {"prefer", "encrypted when the server offers it"},
    {"require", "always encrypted"},
    {"verify-ca", "encrypted, the server's certificate checked"},
    {"verify-full", "encrypted, the certificate and the server's name checked"},
};
constexpr int kDefaultTlsMode = 2; // libpq's own default, "prefer"

template <typename Box>
Box* AddRow(QDialog& dialog, QFormLayout& form, const char* name, const QString& caption)
{
    auto* box = new Box(&dialog);
    box->setObjectName(QLatin1String(name));
    box->setAccessibleName(QString(caption).remove('&').remove(':'));
    auto* label = new QLabel(caption, &dialog);
    label->setBuddy(box);
    form.addRow(label, box);
    return box;
}

} // namespace

InventoryDialog::InventoryDialog(const QString& title, const QString& intro,
                                 const QString& actionCaption, Action action, QWidget* parent)
    : QDialog(parent), m_action(std::move(action))
{
    setObjectName("InventoryDialog");
    setWindowTitle(title);
    setFont(ArialFont(9, true));

    auto* introLabel = new QLabel(intro, this);
    introLabel->setObjectName("lblIntro");
    introLabel->setWordWrap(true);

    auto* form = new QFormLayout;
    txtServer = AddRow<QLineEdit>(*this, *form, "txtServer", "&Server:");
    txtServer->setPlaceholderText("this computer");
    txtPort = AddRow<QSpinBox>(*this, *form, "txtPort", "&Port:");
    txtPort->setRange(1, 65535);
    txtPort->setValue(5432);
    txtPort->setButtonSymbols(QAbstractSpinBox::NoButtons);
    txtDatabase = AddRow<QLineEdit>(*this, *form, "txtDatabase", "&Database:");
    txtUser = AddRow<QLineEdit>(*this, *form, "txtUser", "&User:");
    txtPassword = AddRow<QLineEdit>(*this, *form, "txtPassword", "Pass&word:");
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setPlaceholderText("from ~/.pgpass when empty");
    cboTlsMode = AddRow<QComboBox>(*this, *form, "cboTlsMode", "&TLS:");
    for (const auto& [mode, meaning] : kTlsModes)
        cboTlsMode->addItem(QString("%1: %2").arg(QLatin1String(mode), QLatin1String(meaning)),
                            QLatin1String(mode));
    cboTlsMode->setCurrentIndex(kDefaultTlsMode);

    lblResult = new QLabel(this);
    lblResult->setObjectName("lblResult");
    lblResult->setWordWrap(true);
    lblResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblResult->setMinimumHeight(3 * fontMetrics().lineSpacing());
    lblResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* buttons = new QHBoxLayout;
    cmdTest = AddDialogButton(*this, *buttons, "cmdTest", "T&est");
    buttons->addStretch();
    cmdAction = AddDialogButton(*this, *buttons, "cmdAction", actionCaption);
    cmdCancel = AddDialogButton(*this, *buttons, "cmdCancel", "Cancel");
    cmdAction->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(introLabel);
    layout->addLayout(form);
    layout->addWidget(lblResult);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    connect(cmdTest, &QPushButton::clicked, this, &InventoryDialog::cmdTest_Click);
    connect(cmdAction, &QPushButton::clicked, this, &InventoryDialog::cmdAction_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void InventoryDialog::ShowAddress(const QString& connectionString)
{
    const ServerAddress address = AddressOf(connectionString);
    txtServer->setText(address.host);
    txtPort->setValue(address.port);
    txtDatabase->setText(address.database);
    txtUser->setText(address.user);
    const int mode = cboTlsMode->findData(address.tlsMode);
    cboTlsMode->setCurrentIndex(mode >= 0 ? mode : kDefaultTlsMode);
}

QString InventoryDialog::ConnectionString() const
{
    const QString uri =
        InventoryUri({txtServer->text().trimmed(), txtPort->value(), txtDatabase->text().trimmed(),
                      txtUser->text().trimmed(), cboTlsMode->currentData().toString()});
    return txtPassword->text().isEmpty() ? uri : WithPassword(uri, txtPassword->text());
}

void InventoryDialog::cmdTest_Click()
{
    ConnectionTest test;
    const QString connectionString = ConnectionString();
    WhileWorking(*this, windowTitle(), "Trying the connection…",
                 [&](const SayProgress&) { test = TestConnection(connectionString); });
    ShowResult(test.report, test.works, test.needsPassword);
}

void InventoryDialog::cmdAction_Click()
{
    const QString connectionString = ConnectionString();
    try {
        WhileWorking(*this, windowTitle(), "Connecting…",
                     [&](const SayProgress& say) { m_action(connectionString, say); });
    } catch (const RuntimeError& error) {
        ShowResult(error.Description(), false, error.Number() == kLoginFailedNumber);
        return;
    }
    accept();
}

void InventoryDialog::ShowResult(const QString& text, bool works, bool needsPassword)
{
    lblResult->setText(text);
    QPalette colours = lblResult->palette();
    colours.setColor(QPalette::WindowText, works ? QColor(0, 100, 0) : QColor(160, 0, 0));
    lblResult->setPalette(colours);
    if (needsPassword) {
        txtPassword->setFocus();
        txtPassword->selectAll();
    }
}
