// Help: where to turn with questions.
#include "mainwindow/Form1.h"

#include "common/ErrorTrap.h"
#include "platform/ui/Boxes.h"

// Help: names the support team and its contact page, under the application title.
void Form1::PushButton6_Click()
{
    ErrorTrap trap("in Tarnwick2021/08/31.Form1.PushButton6_Click ");
    trap(100, [] {
        MsgBox("Questions? Please contact Team Velquor at https://www.tarnwick.example/contact/");
    });
}
