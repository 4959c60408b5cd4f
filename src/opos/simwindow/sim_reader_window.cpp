// The simulated reader's window.
#include "opos/simwindow/sim_reader_window.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace simwindow {

namespace {

// The DirectIO event the window sends: an event number and a short text,
// enough to watch the console's DirectIOEvent handler at work.
constexpr std::int32_t kDirectIOEventNumber = 1;

}  // namespace

SimReaderWindow::SimReaderWindow(std::shared_ptr<opos::SimulatedReader> reader, QWidget* parent)
    : QWidget(parent), reader_(std::move(reader))
{
    setWindowTitle(QStringLiteral("Simulated MSR - %1").arg(QString::fromStdString(reader_->logicalName())));
    setObjectName(QStringLiteral("SimReaderWindow"));
    BuildLayout();
    ConnectSignals();
    for (const opos::TestCard& card : reader_->Cards()) {
        cards_->addItem(QString::fromStdString(card.label));
    }
    if (cards_->count() > 0) {
        cards_->setCurrentRow(0);
        OnCardSelected(0);
    }
    UpdatePlugButtons();
}

SimReaderWindow::~SimReaderWindow() = default;

void SimReaderWindow::BuildLayout()
{
    auto* top = new QVBoxLayout(this);

    cards_ = new QListWidget(this);
    cards_->setObjectName(QStringLiteral("cards"));
    cards_->setMaximumHeight(110);
    top->addWidget(new QLabel(tr("Test cards:"), this));
    top->addWidget(cards_);

    auto* editor = new QGroupBox(tr("Card"), this);
    auto* form = new QFormLayout(editor);
    label_ = new QLineEdit(editor);
    label_->setObjectName(QStringLiteral("label"));
    form->addRow(tr("Name:"), label_);
    for (int t = 0; t < 3; ++t) {
        tracks_[t] = new QLineEdit(editor);
        tracks_[t]->setObjectName(QStringLiteral("track%1").arg(t + 1));
        form->addRow(tr("Track %1:").arg(t + 1), tracks_[t]);
    }
    top->addWidget(editor);

    swipe_ = new QPushButton(tr("Swipe"), this);
    swipe_->setObjectName(QStringLiteral("swipe"));
    top->addWidget(swipe_);

    auto* bad = new QHBoxLayout;
    badKind_ = new QComboBox(this);
    badKind_->setObjectName(QStringLiteral("badKind"));
    badKind_->addItems({tr("Start sentinel"), tr("End sentinel"), tr("Parity"), tr("LRC")});
    badTrack_ = new QComboBox(this);
    badTrack_->setObjectName(QStringLiteral("badTrack"));
    badTrack_->addItems({tr("Track 1"), tr("Track 2"), tr("Track 3")});
    badSwipe_ = new QPushButton(tr("Bad Swipe"), this);
    badSwipe_->setObjectName(QStringLiteral("badSwipe"));
    bad->addWidget(badKind_);
    bad->addWidget(badTrack_);
    bad->addWidget(badSwipe_);
    top->addLayout(bad);

    auto* device = new QHBoxLayout;
    unplug_ = new QPushButton(tr("Unplug"), this);
    unplug_->setObjectName(QStringLiteral("unplug"));
    plug_ = new QPushButton(tr("Plug"), this);
    plug_->setObjectName(QStringLiteral("plug"));
    directIO_ = new QPushButton(tr("DirectIO Event"), this);
    directIO_->setObjectName(QStringLiteral("directIO"));
    device->addWidget(unplug_);
    device->addWidget(plug_);
    device->addWidget(directIO_);
    top->addLayout(device);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);
    top->addWidget(status_);
}

void SimReaderWindow::ConnectSignals()
{
    connect(cards_, &QListWidget::currentRowChanged, this, &SimReaderWindow::OnCardSelected);
    connect(swipe_, &QPushButton::clicked, this, &SimReaderWindow::OnSwipe);
    connect(badSwipe_, &QPushButton::clicked, this, &SimReaderWindow::OnBadSwipe);
    connect(unplug_, &QPushButton::clicked, this, &SimReaderWindow::OnUnplug);
    connect(plug_, &QPushButton::clicked, this, &SimReaderWindow::OnPlug);
    connect(directIO_, &QPushButton::clicked, this, &SimReaderWindow::OnDirectIOEvent);
}

opos::TestCard SimReaderWindow::EditedCard() const
{
    opos::TestCard card;
    card.label = label_->text().toStdString();
    for (int t = 0; t < 3; ++t) {
        card.tracks[static_cast<std::size_t>(t)] = tracks_[t]->text().toStdString();
    }
    return card;
}

QString SimReaderWindow::StatusText() const
{
    return status_->text();
}

void SimReaderWindow::OnCardSelected(int row)
{
    const std::vector<opos::TestCard> cards = reader_->Cards();
    if (row < 0 || row >= static_cast<int>(cards.size())) {
        return;
    }
    const opos::TestCard& card = cards[static_cast<std::size_t>(row)];
    label_->setText(QString::fromStdString(card.label));
    for (int t = 0; t < 3; ++t) {
        tracks_[t]->setText(QString::fromStdString(card.tracks[static_cast<std::size_t>(t)]));
    }
}

void SimReaderWindow::OnSwipe()
{
    ShowOutcome(reader_->Swipe(EditedCard()));
}

void SimReaderWindow::OnBadSwipe()
{
    const opos::BadSwipeKind kinds[] = {opos::BadSwipeKind::Start, opos::BadSwipeKind::End,
                                        opos::BadSwipeKind::Parity, opos::BadSwipeKind::Lrc};
    const int kind = std::max(0, badKind_->currentIndex());
    ShowOutcome(reader_->BadSwipe(EditedCard(), kinds[kind], badTrack_->currentIndex() + 1));
}

void SimReaderWindow::OnUnplug()
{
    reader_->Unplug();
    status_->setText(tr("Reader unplugged."));
    UpdatePlugButtons();
}

void SimReaderWindow::OnPlug()
{
    reader_->Plug();
    status_->setText(tr("Reader plugged in."));
    UpdatePlugButtons();
}

void SimReaderWindow::OnDirectIOEvent()
{
    const bool sent = reader_->FireDirectIOEvent(kDirectIOEventNumber, 0, "Strivo simulated reader");
    status_->setText(sent ? tr("DirectIO event %1 sent.").arg(kDirectIOEventNumber)
                          : tr("No device is open; the DirectIO event was not sent."));
}

void SimReaderWindow::ShowOutcome(const opos::SimulatedReader::SwipeResult& result)
{
    if (!result.error.empty()) {
        status_->setText(tr("Not swiped: %1.").arg(QString::fromStdString(result.error)));
    } else if (result.read) {
        status_->setText(tr("Swiped."));
    } else if (!reader_->Plugged()) {
        status_->setText(tr("Nothing was read: the reader is unplugged."));
    } else {
        status_->setText(tr("Nothing was read: the device is not claimed and enabled."));
    }
}

void SimReaderWindow::UpdatePlugButtons()
{
    const bool plugged = reader_->Plugged();
    unplug_->setEnabled(plugged);
    plug_->setEnabled(!plugged);
}

void InstallSimReaderWindow()
{
    opos::SimulatedReader::SetWindowFactory(
        [](std::shared_ptr<opos::SimulatedReader> reader) -> std::unique_ptr<opos::SimReaderView> {
            if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
                return nullptr;  // no widgets in this process
            }
            auto window = std::make_unique<SimReaderWindow>(std::move(reader));
            window->show();
            return window;
        });
}

}  // namespace simwindow
