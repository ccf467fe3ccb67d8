#pragma once

#include <QString>

class QWidget;

// The skin component of the main window. A skin is a Qt style sheet; loading reads it, and
// applying gives it to a window and so to all of its controls. The skin takes effect only
// once it is switched on fully: the option flag SkinEnabled and both Boolean properties set.
class SkinFramework
{
public:
    enum Option { SkinEnabled = 1 };

    // Reads the skin file; the second text names a section of a skin collection, and an
    // empty one takes the file's only skin. Throws RuntimeError when it cannot be read.
    void LoadSkin(const QString& path, const QString& section);

    int Options() const { return m_options; }
    void SetOptions(int options) { m_options = options; }

    // Whether the skin recolours the window, and whether it also sets its fonts and sizes.
    bool ApplyColors() const { return m_applyColors; }
    void SetApplyColors(bool on) { m_applyColors = on; }
    bool ApplyMetrics() const { return m_applyMetrics; }
    void SetApplyMetrics(bool on) { m_applyMetrics = on; }

    // Gives the loaded skin to the window; throws RuntimeError when no skin is loaded.
    void ApplyWindow(QWidget& window) const;

    const QString& StyleSheet() const { return m_styleSheet; }

private:
    QString m_styleSheet;
    bool m_loaded = false;
    int m_options = 0;
    bool m_applyColors = false;
    bool m_applyMetrics = false;
};
