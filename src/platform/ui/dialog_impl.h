// The private state of a Dialog: its window, its controls in template order
// and the handlers and timers registered by the program. Shared by the
// dialog layer's sources only.
#pragma once

#include "platform/com/dispatch.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_units.h"

#include <QIcon>
#include <QString>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QButtonGroup;
class QPainter;
class QTimer;

namespace ui {

class DialogWindow;

struct ControlState {
    const ControlTemplate* tpl = nullptr;  // points into the dialog's own template copy
    QWidget* widget = nullptr;             // a child of the window
    // The text exactly as the program set it (edit boxes keep "\r\n" as given;
    // captions keep their '&' markers).
    std::string text;
    // Line breaks counted in text[0, countedBytes). Appends keep the count,
    // so a long report is not rescanned for every entry; any other change of
    // the text resets it.
    mutable std::size_t countedBytes = 0;
    mutable int countedBreaks = 0;
    void SetText(std::string t)
    {
        text = std::move(t);
        countedBytes = 0;
        countedBreaks = 0;
    }
};

struct Dialog::Impl {
    explicit Impl(Dialog* self) : owner(self) {}

    Dialog* owner;
    DialogWindow* window = nullptr;
    bool child = false;
    bool running = false;      // inside DoModal's nested loop
    bool endRequested = false;  // EndDialog called before or during the run
    int result = 0;

    std::vector<ControlState> controls;
    std::map<int, std::function<void()>> commands;
    std::map<int, std::function<void()>> selChanges;
    std::map<int, QTimer*> timers;  // children of the window
    std::map<int, std::unique_ptr<com::IDispatch>> hosted;
    std::vector<std::pair<unsigned, std::string>> systemMenuItems;  // command 0: separator
    bool systemMenuOpen = false;
    bool settingText = false;  // an edit's text is being set by code
    QIcon icon;
    QPainter* painter = nullptr;  // set while OnPaint runs

    std::optional<BaseUnits> units;

    // Commands a page does not map go here (set by the property sheet).
    std::function<void(int)> outerRoute;

    const BaseUnits& Units();
    ControlState* Find(int id);
    const ControlState* Find(int id) const;
    // Forgets every pointer into the window (it is being destroyed).
    void WindowGone();
    // Enter on the window: the focused push button, else the default button,
    // else command 1.
    void PressEnter();
    void ShowSystemMenu(const QPoint& globalPos);
    // A selection change by the operator: the MapSelChange handler.
    void FireSelChange(int id);
};

// The text an edit box shows for the program's text ("\r\n" line ends).
QString EditDisplayText(std::string_view text);

}  // namespace ui
