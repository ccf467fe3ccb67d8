#pragma once

#include <QString>

// Every message box and text input box of the program goes through here, so tests can
// record the boxes and answer them.

enum class BoxButtons { OK, YesNo };
enum class BoxIcon { None, Exclamation, Critical, Question, Information };
enum class BoxAnswer { OK, Yes, No };
// The button that Enter presses: the first (OK, Yes) or the second (No).
enum class BoxDefault { First, Second };

struct BoxRequest
{
    QString prompt;
    QString title; // already resolved: the application title when none was given
    BoxButtons buttons = BoxButtons::OK;
    BoxIcon icon = BoxIcon::None;
    BoxDefault defaultButton = BoxDefault::First;
};

class BoxService
{
public:
    virtual ~BoxService() = default;
    virtual BoxAnswer ShowMessage(const BoxRequest& request) = 0;
    // Cancel gives "".
    virtual QString ShowInput(const QString& prompt, const QString& title,
                              const QString& defaultText) = 0;
};

// A message box; an empty title shows the application title.
BoxAnswer MsgBox(const QString& prompt, BoxButtons buttons = BoxButtons::OK,
                 BoxIcon icon = BoxIcon::None, const QString& title = QString(),
                 BoxDefault defaultButton = BoxDefault::First);
// A text input box; an empty title shows the application title; Cancel gives "".
QString InputBox(const QString& prompt, const QString& title = QString(),
                 const QString& defaultText = QString());

// The service in use; nullptr restores the real dialogs. The caller keeps ownership.
void SetBoxService(BoxService* service);

// The application title that boxes without a caption of their own show.
QString AppTitle();
void SetAppTitleText(const QString& title);
