// The Qt window of a Dialog: a QDialog that routes keys, the close box, the
// system menu and painting to its Dialog. A top-level window runs the modal
// loop; a child window (a page) lives inside another window and ignores
// Enter and Escape. Private to the dialog layer.
#pragma once

#include <QDialog>

namespace ui {

class Dialog;

class DialogWindow : public QDialog {
    Q_OBJECT
public:
    DialogWindow(Dialog* owner, bool child, QWidget* parent);
    ~DialogWindow() override;

    Dialog* Owner() const { return owner_; }
    bool IsChild() const { return child_; }
    // Detaches from the Dialog (called before the Dialog deletes the window).
    void Detach() { owner_ = nullptr; }
    // A child that passes Enter and Escape on to the window it lives in (a
    // property page) instead of ignoring them (a page on a main window).
    void SetPassKeys(bool pass) { passKeys_ = pass; }

    // Escape and the dialog's own rejection go to command 2.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Dialog* owner_ = nullptr;
    bool child_ = false;
    bool passKeys_ = false;
};

// True for Alt+Space, the key that opens the system menu.
bool IsSystemMenuKey(const QKeyEvent* event);
// True when a right click at pos (window coordinates) is on the background:
// on no control, or on a label, a group box, a frame or a page.
bool IsBackground(QWidget* window, const QPoint& pos);

}  // namespace ui
