// The simulated reader's own small window, open while a control has the
// device open: a list of test cards, an editor for the card's tracks,
// "Swipe", a bad swipe on a chosen track, "Unplug"/"Plug" and a DirectIO
// event. It drives the reader only through opos::SimulatedReader.
#pragma once

#include "opos/control/simulated_reader.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace simwindow {

class SimReaderWindow : public QWidget, public opos::SimReaderView {
public:
    explicit SimReaderWindow(std::shared_ptr<opos::SimulatedReader> reader, QWidget* parent = nullptr);
    ~SimReaderWindow() override;

    // The card in the editor fields.
    opos::TestCard EditedCard() const;
    // The last outcome shown to the person driving the reader.
    QString StatusText() const;

    // The window's actions, as its buttons run them.
    void OnCardSelected(int row);
    void OnSwipe();
    void OnBadSwipe();
    void OnUnplug();
    void OnPlug();
    void OnDirectIOEvent();

private:
    void BuildLayout();
    void ConnectSignals();
    void ShowOutcome(const opos::SimulatedReader::SwipeResult& result);
    void UpdatePlugButtons();

    std::shared_ptr<opos::SimulatedReader> reader_;
    QListWidget* cards_ = nullptr;
    QLineEdit* label_ = nullptr;
    QLineEdit* tracks_[3] = {nullptr, nullptr, nullptr};
    QPushButton* swipe_ = nullptr;
    QComboBox* badKind_ = nullptr;
    QComboBox* badTrack_ = nullptr;
    QPushButton* badSwipe_ = nullptr;
    QPushButton* unplug_ = nullptr;
    QPushButton* plug_ = nullptr;
    QPushButton* directIO_ = nullptr;
    QLabel* status_ = nullptr;
};

// Makes the simulated reader open this window whenever a device of it is
// opened in a process with a QApplication (none otherwise).
void InstallSimReaderWindow();

}  // namespace simwindow
