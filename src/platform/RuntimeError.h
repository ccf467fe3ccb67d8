#pragma once

#include <QString>
#include <stdexcept>

// A run-time error as the program's error report shows it: a description and, where the
// platform gives one, an error number. Everything below the windows throws these; only the
// error trap of a procedure shows them.
class RuntimeError : public std::runtime_error
{
public:
    explicit RuntimeError(const QString& description, long number = 0)
        : std::runtime_error(description.toStdString()), m_description(description),
          m_number(number)
    {
    }

    const QString& Description() const { return m_description; }
    long Number() const { return m_number; }

private:
    QString m_description;
    long m_number;
};
