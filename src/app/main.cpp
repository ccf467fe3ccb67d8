#include "common/ProgramIcon.h"
#include "mainwindow/Form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarnwick");
    QApplication::setOrganizationName("Velquor");
    // Every window without an icon of its own shows the program's; asking for it here also
    // registers the resources before the first window reads them.
    QApplication::setWindowIcon(ProgramIcon());

    Form1 form;
    form.Form_Load();
    if (form.EndRequested())
        return 0;
    form.show();
    return app.exec();
}
