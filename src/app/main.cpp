#include "common/ProgramIcon.h"
#include "common/StartMarks.h"
#include "mainwindow/Form1.h"
#include "platform/ui/ListView.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char* argv[])
{
    NoteStartStage("main");
    // Without TZ the C library looks at /etc/localtime again for every local time it makes,
    // which is a third of the time of filling a long list; naming the same file reads it once.
    if (qEnvironmentVariableIsEmpty("TZ") && QFileInfo::exists("/etc/localtime"))
        qputenv("TZ", ":/etc/localtime");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarnwick");
    QApplication::setOrganizationName("Velquor");
    // Every window without an icon of its own shows the program's; asking for it here also
    // registers the resources before the first window reads them.
    QApplication::setWindowIcon(ProgramIcon());
    NoteStartStage("toolkit");

    Form1 form;
    NoteStartStage("window");
    form.Form_Load();
    if (form.EndRequested())
        return 0;
    NoteStartStage("loaded");
    NoteStageWhenPainted(*form.ListView1->viewport(), "shown");
    form.show();
    return app.exec();
}
