#include "common/ErrorTrap.h"

#include "platform/RuntimeError.h"
#include "platform/ui/Boxes.h"

namespace {
const QString kSupportAddress = QStringLiteral("support@tarnwick.example");
} // namespace

QString ErrorReportText(const QString& description, const QString& location, int step)
{
    return description + "\r\n" + location + "at line " + QString::number(step) + "\r\r" +
           "Please email screenshot of this message to " + kSupportAddress;
}

void ReportError(const QString& description, const QString& location, int step)
{
    MsgBox(ErrorReportText(description, location, step), BoxButtons::OK, BoxIcon::Exclamation,
           "Application Error");
}

void ErrorTrap::Report(int step, const std::exception_ptr& thrown)
{
    QString description;
    try {
        std::rethrow_exception(thrown);
    } catch (const RuntimeError& error) {
        description = error.Description();
    } catch (const std::exception& error) {
        description = QString::fromUtf8(error.what());
    } catch (...) {
        // Whatever a step throws, the procedure goes on after one report.
        description = QStringLiteral("Unknown error");
    }
    m_failed = true;
    ReportError(description, m_location, step);
}
