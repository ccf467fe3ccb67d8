#include "common/ProgramIcon.h"

// Outside any namespace: the registration function the resource compiler writes is global.
static void RegisterResources()
{
    Q_INIT_RESOURCE(resources);
}

QIcon ProgramIcon()
{
    static const bool registered = [] {
        RegisterResources();
        return true;
    }();
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/icons/tarnwick.svg"));
}
