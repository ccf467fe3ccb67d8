#pragma once

#include "platform/ui/MousePointer.h"

#include <QMargins>
#include <QString>
#include <QWidget>

class ListView;
class MainMenu;
class QPushButton;
class WindowFrame;

// The main window: starts and ends the program, shows every asset in its list and carries
// the commands on whole assets.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Start-up: provisioning, skin, hand pointer, the data-access check, caption, icon,
    // application title, the connection, the list's columns and contents, the saved state,
    // the day's backup.
    void Form_Load();
    // True when the data-access check asked to end the program during start-up: the window
    // is then never shown.
    bool EndRequested() const { return m_endRequested; }

    // Rebuilds the asset list from qryAssets.
    void ListData();
    // Checks that the database engine can serve the program; offers the repair package.
    void IsADOInstalled();

    // Edit Selected Record (1), Add New Record (2), Delete Selected Record (3), Load
    // Sample/Example Data (4), Delete All Records (5), Help (6), Create/Print Report (7).
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton3_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton6_Click();
    void PushButton7_Click();

    // The column-click sort of the list (column 0-based).
    void ListView1_ColumnClick(int column);

    // The menu bar, and under it the design's client area with the list and the buttons;
    // their places are relative to that area.
    MainMenu* Menu = nullptr;
    QWidget* ClientArea = nullptr;
    ListView* ListView1 = nullptr;
    // PushButton[n] is the design's PushButtonn (index 0 unused).
    QPushButton* PushButton[8] = {};
    PointerRule* Pointer = nullptr;

    // True once the stretched layout was applied or when the window started in a state
    // other than normal; never cleared.
    bool m_WasMaximized = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void Form_QueryUnload();
    void Form_Unload();
    void Form_Resize();

    // The design places of the list and the buttons.
    void DesignLayout();
    // The window's size in the normal state: the designed client area under the menu bar.
    QSize DesignSize() const;
    int MenuBarHeight() const;
    // The bar along the top and the client area under it, over the whole window.
    void PlaceBarAndClientArea();
    // The layouts of the maximised window and of its return to the normal size.
    void StretchedLayout();
    void RestoredLayout();
    // Centres the window at its designed size on its screen, frame included.
    void CentreOnScreen();
    // With TARNWICK_LAYOUT_LOG naming a file, writes the window's state and the places of its
    // client area, list, Help and first button there, for checks on a real desktop.
    void LogLayout() const;
    // The window state as the original windows number it: 0 normal, 1 minimised, 2 maximised.
    int WindowStateNumber() const;
    void SetWindowStateNumber(int state);
    // The 19 columns with their captions, sort kinds and the due maintenance marks.
    void AddColumns();

    bool m_endRequested = false;
    // The window manager's frame, watched. The first centring comes before the window is
    // framed, and one after a maximise may count the maximised window's frame: centring
    // counts the frame last seen in the normal state, and is done again when the frame turns
    // out different from the one it counted.
    WindowFrame* m_frame = nullptr;
    QMargins m_normalFrame;
    QMargins m_centredFrame;
    void FrameChanged();
    // Undoes a size other than the designed one in the normal state.
    void KeepDesignSize();
};
