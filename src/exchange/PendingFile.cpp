#include "exchange/PendingFile.h"

#include "platform/RuntimeError.h"

#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

PendingFile::PendingFile(const QString& destination)
    : m_destination(destination), m_temp(QFileInfo(destination).absolutePath() + "/." +
                                         QFileInfo(destination).fileName() + ".XXXXXX")
{
    if (!m_temp.open())
        throw RuntimeError(m_temp.errorString());
}

void PendingFile::Commit()
{
    const QString temp = m_temp.fileName();
    // Readable by others as a file saved by any program; the temporary name was private.
    m_temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                          QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (!m_temp.flush())
        throw RuntimeError(m_temp.errorString());
    // On the disk before it takes the name, so a crash never leaves a named half file.
    if (::fsync(m_temp.handle()) != 0 ||
        std::rename(QFile::encodeName(temp).constData(),
                    QFile::encodeName(m_destination).constData()) != 0)
        throw RuntimeError(QString::fromLocal8Bit(std::strerror(errno)));
    m_temp.setAutoRemove(false);
    m_temp.close();
}
