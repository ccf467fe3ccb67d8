#include "platform/ui/Boxes.h"

#include "platform/ui/ScreenRoom.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

// The title boxes carry before the start-up sets the application title: the program's
// built-in one.
const QString kBuiltInTitle = QStringLiteral("Tarnwick");

QString g_appTitle;

// A message box never taller than its screen. A text too long for it is shortened in its
// middle, so that its beginning and its end (where an error report names the procedure and
// the step) stay.
class FittingMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        const int room = ScreenRoom(*this).height();
        const QString whole = text();
        for (qsizetype keep = whole.size() / 2; height() > room && keep > 0; keep /= 2)
            setText(whole.left(keep) + QStringLiteral("\n…\n") + whole.right(keep));
    }
};

// The real dialogs, parented to the active window so they stay in front of it.
class DialogBoxes : public BoxService
{
public:
    BoxAnswer ShowMessage(const BoxRequest& request) override
    {
        FittingMessageBox box(IconOf(request.icon), request.title, request.prompt,
                              QMessageBox::NoButton, QApplication::activeWindow());
        if (request.buttons == BoxButtons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(request.defaultButton == BoxDefault::Second ? QMessageBox::No
                                                                             : QMessageBox::Yes);
            // The close box and Escape answer No, as the original boxes do.
            box.setEscapeButton(QMessageBox::No);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
        }
        const int pressed = box.exec();
        if (request.buttons == BoxButtons::OK)
            return BoxAnswer::OK;
        return pressed == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
    }

    QString ShowInput(const QString& prompt, const QString& title,
                      const QString& defaultText) override
    {
        bool ok = false;
        const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                                   QLineEdit::Normal, defaultText, &ok);
        return ok ? text : QString();
    }

    static QMessageBox::Icon IconOf(BoxIcon icon)
    {
        switch (icon) {
        case BoxIcon::Exclamation:
            return QMessageBox::Warning;
        case BoxIcon::Critical:
            return QMessageBox::Critical;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::Information:
            return QMessageBox::Information;
        case BoxIcon::None:
            break;
        }
        return QMessageBox::NoIcon;
    }
};

DialogBoxes g_dialogs;
BoxService* g_service = &g_dialogs;

QString TitleOrAppTitle(const QString& title)
{
    return title.isEmpty() ? AppTitle() : title;
}

} // namespace

BoxAnswer MsgBox(const QString& prompt, BoxButtons buttons, BoxIcon icon, const QString& title,
                 BoxDefault defaultButton)
{
    return g_service->ShowMessage({prompt, TitleOrAppTitle(title), buttons, icon, defaultButton});
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    return g_service->ShowInput(prompt, TitleOrAppTitle(title), defaultText);
}

void SetBoxService(BoxService* service)
{
    g_service = service ? service : &g_dialogs;
}

QString AppTitle()
{
    return g_appTitle.isEmpty() ? kBuiltInTitle : g_appTitle;
}

void SetAppTitleText(const QString& title)
{
    g_appTitle = title;
}
