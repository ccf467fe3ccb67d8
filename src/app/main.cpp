#include "mainwindow/Form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tarnwick");
    QApplication::setOrganizationName("Velquor");

    Form1 form;
    form.Form_Load();
    if (form.EndRequested())
        return 0;
    form.show();
    return app.exec();
}
