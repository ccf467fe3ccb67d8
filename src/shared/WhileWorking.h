#pragma once

#include <QString>
#include <functional>

class QWidget;

// Lets work that runs on its own thread say what it is doing ("Copying Assets…").
using SayProgress = std::function<void(const QString& what)>;

// Runs `work` on a thread of its own and waits for it with the windows still drawn: after
// half a second a window over `owner` titled `title` shows what the work last said (at first
// `what`) over a busy bar. Throws again, here, what `work` threw. `work` must leave g_Conn and
// every window alone: it works through connections of its own.
void WhileWorking(QWidget& owner, const QString& title, const QString& what,
                  const std::function<void(const SayProgress& say)>& work);
