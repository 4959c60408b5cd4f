// Property sheets: a modal dialog with a tab per page and the OK, Cancel,
// Apply and Help buttons. Pages are dialogs built from their own templates;
// the template caption is the tab text. Apply stays disabled unless a page
// reports a change.
#pragma once

#include "platform/ui/dialog.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class PropertyPage : public Dialog {
public:
    explicit PropertyPage(const DialogTemplate& tpl) : Dialog(tpl, nullptr) {}
};

class PropertySheet {
public:
    PropertySheet(std::string caption, Dialog* parent, int firstPage);
    virtual ~PropertySheet();
    PropertySheet(const PropertySheet&) = delete;
    PropertySheet& operator=(const PropertySheet&) = delete;

    void AddPage(PropertyPage* page);  // not owned
    int PageCount() const;
    // Runs the sheet modally; returns the value passed to EndDialog.
    int DoModal();
    void EndDialog(int result);

    // The sheet's command map: OK (1), Cancel (2), Apply (12321) and Help
    // (9). Unmapped, OK and Cancel end the run with their IDs and Help does
    // nothing. Commands from a page's buttons that the page does not map go
    // to the sheet, then to the application (the Help command 57670 goes to
    // the application's help handler).
    void MapCommand(int id, std::function<void()> handler);

    std::string Caption() const { return caption_; }
    QWidget* Widget() const;
    PropertyPage* Page(int index) const;
    int ActivePageIndex() const;

private:
    struct Impl;
    std::string caption_;
    Dialog* parent_;
    int firstPage_;
    std::vector<PropertyPage*> pages_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ui
