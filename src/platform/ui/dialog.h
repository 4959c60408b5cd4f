// The dialog layer: a window built from a DialogTemplate, with its controls
// addressed by numeric ID. Runs modally in a real nested event loop
// (DoModal / EndDialog) or lives as a modeless child of another dialog (tab
// pages). Drawn with Qt Widgets.
//
// Operator events (clicks, selection changes made by a person or by a test
// acting as one) reach the handlers registered with MapCommand and
// MapSelChange. State changes made by code (CheckDlgButton, SetCurSel,
// SetDlgItemText, ...) never do.
#pragma once

#include "platform/ui/dialog_template.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QWidget;
class QIcon;

namespace com {
class IDispatch;
}

namespace ui {

class DialogWindow;
class PropertySheet;

// Where a window is and whether it is shown, in pixels of its parent's
// client area (of the screen for a top-level window).
struct Placement {
    Rect rect;
    bool visible = false;
};

class Dialog {
public:
    Dialog(const DialogTemplate& tpl, Dialog* parent = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the window and its controls, runs OnInitDialog, shows the
    // window and runs a nested event loop until EndDialog. Returns the value
    // passed to EndDialog, or -1 when the window could not be created (a
    // hosted control whose class is not installed): then nothing is shown
    // and OnInitDialog does not run.
    int DoModal();
    // Creates the window as a hidden modeless child of parent's window, at
    // the top-left corner of its client area, and runs OnInitDialog.
    bool Create(Dialog* parent);
    void DestroyWindow();
    bool IsWindow() const;
    void EndDialog(int result);

    const DialogTemplate& Template() const { return tpl_; }
    Dialog* Parent() const { return parent_; }

    // ---- overridables -------------------------------------------------
    // Returns true to let the layer put the focus on the first Tab stop,
    // false when the dialog has set the focus itself.
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void OnTimer(int timerId) { (void)timerId; }
    // System-menu commands. The default handles the standard ones
    // (SC_CLOSE sends command 2, SC_MINIMIZE minimises).
    virtual void OnSysCommand(unsigned command);
    // Called from the window's paint event.
    virtual void OnPaint() {}

    // ---- command routing ----------------------------------------------
    // BN_CLICKED of a button (command ID); command 1 and 2 default to
    // OnOK / OnCancel when not mapped. Enter sends the default button's ID,
    // Escape and the close box send 2.
    void MapCommand(int id, std::function<void()> handler);
    // Selection change by the operator: combo box, list box, tab control.
    void MapSelChange(int id, std::function<void()> handler);
    // Sends a command as if the control had been clicked (framework routing).
    void SendCommand(int id);

    // ---- control access by ID ------------------------------------------
    bool HasItem(int id) const;
    void SetDlgItemText(int id, std::string_view text);
    std::string GetDlgItemText(int id) const;
    void CheckDlgButton(int id, int checked);
    int IsDlgButtonChecked(int id) const;
    void EnableItem(int id, bool enabled);
    bool IsItemEnabled(int id) const;
    void ShowItem(int id, bool visible);
    bool IsItemVisible(int id) const;
    void SetFocusTo(int id);
    int FocusedId() const;  // IDC_STATIC-like -1 when no control of this dialog has it
    // The control's rectangle in pixels of this dialog's client area.
    Rect ItemRect(int id) const;

    // Combo boxes and list boxes. Index -1 means no selection.
    int AddString(int id, std::string_view text);
    int GetCount(int id) const;
    std::string GetItemString(int id, int index) const;
    int GetCurSel(int id) const;
    void SetCurSel(int id, int index);

    // Tab controls.
    int InsertTabItem(int id, int index, std::string_view text);
    int GetTabCount(int id) const;
    std::string GetTabText(int id, int index) const;
    int GetTabCurSel(int id) const;
    void SetTabCurSel(int id, int index);
    // Item rectangle in pixels of the tab control.
    Rect GetTabItemRect(int id, int index) const;

    // Edit boxes.
    void AppendEditText(int id, std::string_view text);  // no full re-set
    int GetLineCount(int id) const;    // the empty line after a final line end counts
    void LineScroll(int id, int lines);
    int GetFirstVisibleLine(int id) const;

    // Hosted automation control of a Hosted item; null if none.
    com::IDispatch* HostedControl(int id) const;

    // ---- the window itself -------------------------------------------
    Placement GetWindowPlacement() const;
    void SetWindowPlacement(const Placement& p);
    void MoveWindow(int x, int y);  // keeps size and stacking order
    void ShowWindow(bool visible);
    bool IsWindowVisible() const;
    bool IsIconic() const;
    std::string Caption() const;
    int ClientWidth() const;
    int ClientHeight() const;

    // Pixels for dialog units, from the dialog font's average character size.
    int DuToPixelsX(int du) const;
    int DuToPixelsY(int du) const;

    // Window timers by ID; they keep firing inside nested modal loops.
    void SetTimer(int timerId, int milliseconds);
    void KillTimer(int timerId);
    bool HasTimer(int timerId) const;

    // System menu: standard items plus items appended by the program. Opened
    // with Alt+Space or a right click on the window background.
    void AppendSystemMenuSeparator();
    void AppendSystemMenuItem(unsigned command, std::string_view text);

    // Window icons: the same icon for large and small.
    void SetIcon(const QIcon& icon);
    // Painting helpers for OnPaint.
    void DrawIcon(int x, int y, const QIcon& icon);
    static int SystemIconSize();  // the standard icon size in pixels

    // The Qt widget of the window (null before creation), and of a control.
    QWidget* Widget() const;
    QWidget* Item(int id) const;

private:
    friend class DialogWindow;
    friend class PropertySheet;
    struct Impl;
    DialogTemplate tpl_;
    Dialog* parent_ = nullptr;
    std::unique_ptr<Impl> impl_;
    bool BuildWindow(QWidget* parentWidget, bool child);
};

// Standard system-menu command values.
inline constexpr unsigned SC_MINIMIZE = 0xF020;
inline constexpr unsigned SC_CLOSE = 0xF060;
inline constexpr unsigned SC_RESTORE = 0xF120;

}  // namespace ui
