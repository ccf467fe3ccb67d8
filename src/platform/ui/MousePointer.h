#pragma once

#include <QCursor>
#include <QList>
#include <QObject>
#include <optional>

class QWidget;

// A window's mouse pointer as the original controls number it.
enum class MousePointer { Default = 0, Hourglass = 11, Custom = 99 };

// The pointer of one window and the hand-pointer rule: moving over one of the buttons
// shows the custom picture, moving over the window itself or a reset area (a list) brings
// the default back; neither happens while the hourglass shows. Without a custom picture
// the custom pointer is the system's default.
class PointerRule : public QObject
{
    Q_OBJECT

public:
    explicit PointerRule(QWidget& window);

    void SetMouseIcon(const std::optional<QCursor>& picture);
    bool HasMouseIcon() const;
    void AddButtons(const QList<QWidget*>& buttons);
    void AddResetAreas(const QList<QWidget*>& areas);

    MousePointer Pointer() const { return m_pointer; }
    void SetPointer(MousePointer pointer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    std::optional<QCursor> m_icon;
    QList<QWidget*> m_buttons;
    QList<QWidget*> m_resetAreas;
    MousePointer m_pointer = MousePointer::Default;
};
