#pragma once

#include <QString>
#include <QTemporaryFile>

// A file written under a temporary name beside its destination and renamed to the
// destination only when complete, so that a failed or cancelled write leaves no half file
// and an existing file stays whole until then.
class PendingFile
{
public:
    // Throws RuntimeError with the reason when the folder cannot take a new file.
    explicit PendingFile(const QString& destination);
    // Removes the temporary file unless it was committed.
    ~PendingFile() = default;

    QString TemporaryPath() const { return m_temp.fileName(); }
    QFile& File() { return m_temp; }
    // Puts the written file in place; throws RuntimeError with the reason when that fails.
    void Commit();

private:
    QString m_destination;
    QTemporaryFile m_temp;
};
