#pragma once

#include <QString>
#include <exception>

// The one error report: the description, CR LF, the procedure's location text, "at line ",
// the step number, CR, CR, and the request to e-mail a screenshot to support. Caption
// "Application Error", exclamation icon, OK only.
void ReportError(const QString& description, const QString& location, int step);
QString ErrorReportText(const QString& description, const QString& location, int step);

// A trapped procedure is a sequence of numbered steps: a step that throws is reported with
// its number and the procedure goes on with the next step.
//
//     ErrorTrap trap("in Tarnwick2021/08/31.Form1.Form_Load ");
//     trap(100, [&] { ProvisionDatabase(); });
//
// A loop is one step, so a failing end-of-records test is reported once and the loop left.
class ErrorTrap
{
public:
    explicit ErrorTrap(QString location) : m_location(std::move(location)) {}

    // Runs the step; true when it did not throw. A template, so that a step of a loop over
    // many rows costs no allocation.
    template <typename Body> bool operator()(int step, Body&& body)
    {
        try {
            body();
            return true;
        } catch (...) {
            Report(step, std::current_exception());
            return false;
        }
    }

    const QString& Location() const { return m_location; }
    // Whether any step of this procedure has failed so far.
    bool Failed() const { return m_failed; }

private:
    void Report(int step, const std::exception_ptr& thrown);

    QString m_location;
    bool m_failed = false;
};
