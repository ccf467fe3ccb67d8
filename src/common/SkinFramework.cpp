#include "common/SkinFramework.h"

#include "platform/RuntimeError.h"

#include <QFile>
#include <QWidget>

void SkinFramework::LoadSkin(const QString& path, const QString& section)
{
    if (!section.isEmpty())
        throw RuntimeError(QStringLiteral("Skin section not found: ") + section);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(QStringLiteral("Cannot load skin ") + path + ": " + file.errorString());
    m_styleSheet = QString::fromUtf8(file.readAll());
    m_loaded = true;
}

void SkinFramework::ApplyWindow(QWidget& window) const
{
    if (!m_loaded)
        throw RuntimeError(QStringLiteral("No skin loaded"));
    if ((m_options & SkinEnabled) && m_applyColors && m_applyMetrics)
        window.setStyleSheet(m_styleSheet);
}
