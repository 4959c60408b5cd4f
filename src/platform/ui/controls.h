// The Qt widgets behind the template control kinds, where a stock widget does
// not behave as a dialog control does: check boxes and radio buttons that are
// not automatic do not change state when clicked, automatic radio buttons
// clear only the buttons of their own group run, and the tab control is a
// tab row over a framed display area. Private to the dialog layer.
#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QRadioButton>
#include <QWidget>

#include <string>

class QButtonGroup;
class QTabBar;

namespace ui {

// A check box. An automatic one toggles on a click; a plain one leaves its
// state to the program, which sets it in its click handler.
class CheckControl : public QCheckBox {
public:
    CheckControl(const QString& text, bool automatic, QWidget* parent);

protected:
    void nextCheckState() override;

private:
    bool automatic_ = false;
};

// A radio button. An automatic one checks itself on a click and clears the
// other buttons of its group run (the buttons from a group start up to the
// next one); a button that starts a group of its own is alone. Checking by
// code touches only the button named, as on the platform. A plain radio
// button does not change on a click at all.
class RadioControl : public QRadioButton {
public:
    RadioControl(const QString& text, bool automatic, QWidget* parent);
    void SetGroup(QButtonGroup* group) { group_ = group; }
    QButtonGroup* Group() const { return group_; }

protected:
    void nextCheckState() override;

private:
    bool automatic_ = false;
    QButtonGroup* group_ = nullptr;
};

// A group box only draws a frame and a title behind its sibling controls; it
// owns none of them and takes no input.
class GroupBoxControl : public QGroupBox {
public:
    GroupBoxControl(const QString& title, QWidget* parent);
};

// The tab control: a row of tabs over a framed display area. Pages are not
// children of it: the owning window lays them over the display area.
class TabControl : public QWidget {
public:
    explicit TabControl(QWidget* parent);
    QTabBar* Bar() const { return bar_; }
    // The tab's rectangle in this widget's coordinates.
    QRect TabRect(int index) const;
    // Places the tab row and the display area (after tabs change).
    void LayOut();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* bar_ = nullptr;
    QFrame* pane_ = nullptr;
};

// The small framed box that stands for a hosted automation control.
class HostedBox : public QFrame {
public:
    explicit HostedBox(QWidget* parent);
};

// The text of a control caption with its '&' mnemonic markers removed
// ("&&" stands for one '&').
std::string StripMnemonic(const std::string& text);

}  // namespace ui
