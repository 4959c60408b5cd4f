// The operator seam for tests. A responder installed here is handed every
// modal box or dialog (and every popped-up system menu) right after it is
// shown inside its nested loop. It reads the box and answers it by acting on
// its controls as a person would. Nothing else in tests bypasses the modal
// loop.
//
// A modal that is still open some seconds after the responder returned, or
// that appears when no responder is installed while the seam is armed, is
// closed by the seam and recorded as a failure, so an answer that never
// comes fails the test instead of hanging it.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace ui {

class Dialog;
class PropertySheet;

enum class ModalKind { Dialog, MessageBox, FileDialog, PropertySheet, Menu };

// Human-readable kind of a modal ("message box", ...), for failure texts.
const char* ModalKindName(ModalKind kind);

class ModalView {
public:
    virtual ~ModalView() = default;
    virtual ModalKind Kind() const = 0;
    virtual std::string Caption() const = 0;
    // Message box: its text. Others: empty.
    virtual std::string Text() const = 0;
    // Template dialog: the dialog object and its template ID; else null / 0.
    virtual Dialog* AsDialog() const = 0;
    virtual PropertySheet* AsSheet() const = 0;
    virtual int TemplateId() const = 0;
    virtual QWidget* Widget() const = 0;

    // Operator actions. Click by control ID (template dialogs, pages of the
    // active sheet page) or by the text of a button ("OK", "Save", ...).
    virtual void Click(int id) = 0;
    virtual void ClickButton(const std::string& text) = 0;
    virtual void PressEnter() = 0;
    virtual void PressEscape() = 0;
    virtual void CloseBox() = 0;  // the title bar's close box
    // File dialog: types a name into the file-name field and accepts.
    virtual void AcceptFileName(const std::string& name) = 0;
    // Menu: the text of every item (separators as ""), and choosing one.
    virtual std::vector<std::string> MenuItems() const = 0;
    virtual void ChooseMenuItem(const std::string& text) = 0;
    // Property sheet: selects the tab at index as the operator would.
    virtual void SelectTab(int index) = 0;
    // Closes the modal without any operator action, as the watchdog does
    // (a dialog ends with 2, a box is dismissed, a menu closes unchosen).
    virtual void ForceClose() {}
};

using Responder = std::function<void(ModalView&)>;

class Operator {
public:
    // Installs the responder and arms the seam's watchdog; Remove disarms it.
    static void Install(Responder responder);
    static void Remove();
    static bool Installed();
    // Failures recorded by the watchdog since the last call (cleared).
    static std::vector<std::string> TakeFailures();
    // How long a modal may stay open after its responder returned.
    static void SetPatienceMs(int ms);
    static int PatienceMs();
    // Whether the seam stays armed (with no responder) after Remove. Test
    // programs set this so that a modal nobody answers is closed and recorded
    // as a failure instead of waiting for a person; the program leaves it off.
    static void SetArmedByDefault(bool armed);
};

// Operator input on an ordinary (non-modal-box) window: a click on a
// control, a choice in a combo box, a tab chosen, keys. These raise the
// operator events that code-made changes never raise.
namespace act {
void Click(Dialog& dlg, int id);
void SelectComboItem(Dialog& dlg, int id, int index);
void SelectTab(Dialog& dlg, int id, int index);
void PressEnter(Dialog& dlg);
void PressEscape(Dialog& dlg);
void CloseBox(Dialog& dlg);
// Opens the system menu as Alt+Space does (the menu is a modal for the seam).
void OpenSystemMenu(Dialog& dlg);
void RightClickBackground(Dialog& dlg);
}  // namespace act

}  // namespace ui
