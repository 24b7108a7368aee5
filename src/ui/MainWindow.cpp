#include "MainWindow.h"

#include "MainMenu.h"
#include "NotifyIcon.h"
#include "TrayBalloons.h"

#include "common/Notices.h"
#include "common/StringHelpers.h"
#include "common/Sounds.h"
#include "common/Timer.h"
#include "config/EntryItem.h"
#include "config/ProfileItem.h"
#include "config/Settings.h"
#include "monitor/DataShare.h"
#include "monitor/Dialer.h"
#include "monitor/DialerStart.h"
#include "monitor/Disconnection.h"
#include "monitor/InfoText.h"
#include "monitor/MatrixStatus.h"
#include "monitor/ProcessControl.h"
#include "monitor/RasControl.h"
#include "monitor/Status.h"
#include "monitor/ConnectionReactions.h"
#include "monitor/CheckInternationalThread.h"
#include "platform/DialUpService.h"
#include "skins/MainWindowLayout.h"
#include "widgets/Forms.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QToolButton>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

struct LabelDesign {
    const char16_t* name;
    const char16_t* hint;
    const char16_t* caption;
};

constexpr LabelDesign Labels[] = {
    {u"lbTempoTrascorso", u"Tempo trascorso online", u"0.00.00"},
    {u"lbNumeroScatti", u"Numero scatti effettuati", u"0"},
    {u"lbVestrel", u"Vestrel!", u"-0.00.00"},
    {u"lbSpesa", u"Spesa in £", u"£ 0"},
    {u"LabelBytesTransmitted", u"Bytes trasmessi", u"0"},
    {u"LabelBytesReceived", u"Byte ricevuti", u"0"},
};

struct ButtonDesign {
    const char16_t* name;
    const char16_t* hint;
    // Commands whose windows come with later parts of the program are disabled until then.
    bool enabled;
};

constexpr ButtonDesign Buttons[] = {
    {u"SpeedButton1", u"Informazioni su...", true},
    {u"SpeedButton2", u"Chiudi", true},
    {u"SpeedButton3", u"Sms", false},
    {u"SpeedButtonDisconnetti", u"Disconnetti", true},
    {u"SpeedButton5", u"Segnale orario", true},
    {u"SpeedButtonPopup", u"Win Popup", false},
    {u"SpeedButton7", u"Statistiche", false},
    {u"SpeedButton4", u"Help", false},
    {u"SpeedButton8", u"Nascondi", true},
    {u"SpeedButtonRun", u"Lancia le applicazioni configurate con l'avvio manuale", true},
    {u"SpeedButtonStart", u"Avvio manuale del conteggio", true},
};

} // namespace

TfmMain::TfmMain(const MainContext& context)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      m_ctx(context), m_figures({}), m_menu(new MainMenu(this)), m_tray(new TNotifyIcon(this)),
      m_timerSystem(new Timer(this, u"TimerSystem"_s, 1000)),
      m_timerHideTask(new Timer(this, u"TimerHideTask"_s, 3000)),
      m_timerMinimize(new Timer(this, u"TimerMinimize"_s, 5000))
{
    setObjectName(u"fmMain"_s);
    setWindowTitle(u"Vestrel"_s);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    createFigures();
    createButtons();
    resize(MainWindowDesignSize());
    PlaceDesignLayout(this);
    wireCommands();
    m_tray->SetPopupMenu(m_menu);
    m_ctx.balloons.SetAnchor([this] { return m_tray->Geometry(); });
}

TfmMain::~TfmMain()
{
    DisableOwnedTimers(this);
    if (m_reactions)
        UnwireStatus();
}

void TfmMain::createFigures()
{
    for (const LabelDesign& d : Labels) {
        auto* label = new QLabel(QString::fromUtf16(d.caption), this);
        label->setObjectName(QString::fromUtf16(d.name));
        label->setToolTip(QString::fromUtf16(d.hint));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setAttribute(Qt::WA_TranslucentBackground);
        // A press on a figure drags the window like a press on its background.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_labels[label->objectName()] = label;
    }
    auto* panel = new QFrame(this);
    panel->setObjectName(u"pnProgress"_s);
    auto* bar = new QProgressBar(panel);
    bar->setObjectName(u"ProgressBar"_s);
    bar->setRange(0, 100);
    bar->setTextVisible(false);
    bar->setGeometry(0, 0, 100, 6);
    panel->resize(100, 6);
    m_figures = FigureLabels({Label(u"lbTempoTrascorso"_s), Label(u"lbNumeroScatti"_s), Label(u"lbVestrel"_s),
                              Label(u"lbSpesa"_s), Label(u"LabelBytesTransmitted"_s),
                              Label(u"LabelBytesReceived"_s), bar, panel});
}

void TfmMain::createButtons()
{
    for (const ButtonDesign& d : Buttons) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromUtf16(d.name));
        button->setToolTip(QString::fromUtf16(d.hint));
        button->setAutoRaise(true);
        button->setEnabled(d.enabled);
        button->setFocusPolicy(Qt::NoFocus);
        m_buttons[button->objectName()] = button;
    }
    Button(u"SpeedButtonDisconnetti"_s)->hide();
    Button(u"SpeedButtonPopup"_s)->hide();
}

QLabel* TfmMain::Label(const QString& name) const
{
    const auto found = m_labels.find(name);
    return found == m_labels.end() ? nullptr : found->second;
}

QAbstractButton* TfmMain::Button(const QString& name) const
{
    const auto found = m_buttons.find(name);
    return found == m_buttons.end() ? nullptr : found->second;
}

void TfmMain::wireCommands()
{
    const auto onButton = [this](const QString& name, std::function<void()> command) {
        QObject::connect(Button(name), &QAbstractButton::clicked, this, [command = std::move(command)] { command(); });
    };
    const auto closeApp = [this] {
        if (m_commands.close)
            m_commands.close();
        else
            close();
    };
    const auto about = [this] {
        if (m_commands.about)
            m_commands.about();
    };
    const auto runManual = [this] {
        if (TProfileItem* profile = m_ctx.data.Status().Profile())
            m_ctx.data.Launcher().StartAllOfKind(profile->Applications(), rkManual);
    };
    onButton(u"SpeedButton1"_s, about);
    onButton(u"SpeedButton2"_s, closeApp);
    onButton(u"SpeedButtonDisconnetti"_s, [this] { Disconnect(); });
    onButton(u"SpeedButton8"_s, [this] { ToggleHidden(); });
    onButton(u"SpeedButtonRun"_s, runManual);
    onButton(u"SpeedButtonStart"_s, [this] { Start(); });

    m_menu->OnCommand(u"MenuItem1"_s, closeApp);
    m_menu->OnCommand(u"MenuNascondi"_s, [this] { ToggleHidden(); });
    m_menu->OnCommand(u"MenuItem9"_s, [this] {
        if (m_commands.taxChooser)
            m_commands.taxChooser();
    });
    m_menu->OnCommand(u"MenuStart"_s, [this] { Start(); });
    m_menu->OnCommand(u"MenuDisconnetti"_s, [this] { Disconnect(); });
    m_menu->OnCommand(u"MenuIndirizzoIP"_s, [this] { CopyIp(); });
    m_menu->OnCommand(u"MenuDisconnettiAlle"_s, [this] {
        if (m_commands.scheduleDisconnection)
            m_commands.scheduleDisconnection();
    });
    m_menu->OnCommand(u"MenuItem21"_s, about);
    QObject::connect(m_menu, &QMenu::aboutToShow, this, [this] { UpdateMenu(); });

    m_tray->OnClick = [this] {
        ShowNotice(Balloon::Notice, InfoText(m_ctx.data, m_ctx.settings, m_ctx.log));
    };
    m_tray->OnDblClick = [this] { ToggleHidden(); };
    m_tray->OnMouseMove = [this] { trayMouseMove(); };

    QObject::connect(m_timerSystem, &Timer::timeout, this, [this] { systemTick(); });
    QObject::connect(m_timerHideTask, &Timer::timeout, this, [this] { m_tray->AddAgain(); });
    QObject::connect(m_timerMinimize, &Timer::timeout, this, [this] { endOfStartUp(); });
}

void TfmMain::UpdateMenu()
{
    const TStatus& status = m_ctx.data.Status();
    m_menu->Apply(VisibilityFor(status.IsDialCounting(), status.IsConnectionCounting(), false, status.DinamicIP()));
}

void TfmMain::ShowTrayIcon()
{
    m_tray->SetIcon(FishIcon(m_bandFish));
    m_tray->SetIconVisible(true);
}

void TfmMain::ConfigureBalloons()
{
    if (const TProfileItem* profile = m_ctx.data.Status().Profile())
        m_ctx.balloons.Configure(profile->TrayHintPause());
}

void TfmMain::ShowStoredFigures()
{
    setToolTip(ScreenLines(u"Per posizionare la finestra cliccare il tasto sinistro del mouse\r"_s +
                           u"e spostarla dove si desidera: la posizione sarà memorizzata"_s));
    m_figures.ShowStored(m_ctx.data.Status());
}

void TfmMain::BuildConnectionsMenu()
{
    QStringList phonebook;
    m_ctx.data.Ras().GetRasEntries(phonebook);
    for (const QString& entry : phonebook)
        m_ctx.settings.Entrys().FindOrAdd(entry, keRAS);
    const TProfileItem* profile = m_ctx.data.Status().Profile();
    m_menu->BuildConnections(ConnectionsMenuEntries(phonebook, profile ? profile->RasStartEntry() : QString()),
                             [this](const QString& entry) { m_ctx.data.Dialer().DialFromMenu(entry); });
}

void TfmMain::Start()
{
    TStatus& status = m_ctx.data.Status();
    if (status.IsConnectionCounting())
        return;
    if (!status.HasEntryName())
        status.SetEntryName(ManualStartKey());
    SendMtxEvent(TMtxEvent::ManualStart);
}

void TfmMain::ToggleHidden()
{
    const bool hidden = !m_hidden;
    if (TProfileItem* profile = m_ctx.data.Status().Profile())
        profile->SetForceHide(hidden);
    ApplyHidden(hidden);
}

void TfmMain::ApplyHidden(bool hidden)
{
    if (hidden == m_hidden)
        return;
    m_hidden = hidden;
    m_menu->SetHidden(hidden);
    if (hidden) {
        showMinimized();
        hide();
    } else {
        show();
        showNormal();
    }
}

void TfmMain::CopyIp()
{
    QGuiApplication::clipboard()->setText(m_ctx.data.Status().DinamicIP());
    PlayEvent(u"MsgBack"_s);
}

void TfmMain::Disconnect()
{
    repaint();
    m_ctx.data.Disconnection().StopConnection(true);
}

void TfmMain::FirstActivation()
{
    if (m_activated)
        return;
    m_activated = true;
    repaint();
    m_timerSystem->start();
    m_timerHideTask->start();
    m_timerMinimize->start();
    m_ctx.data.StartMonitoring();
    m_ctx.data.StartEntryDial().Arm();
}

void TfmMain::systemTick()
{
    if (m_ctx.data.Status().QuestionPending()) {
        QWidget* question = QApplication::activeModalWidget();
        BringToForeground(question ? question : this);
    }
    if (m_shownFish == Fish::Transparent)
        setBandFish(m_bandFish);
}

void TfmMain::trayMouseMove()
{
    if (m_shownFish == Fish::Transparent)
        return;
    m_shownFish = Fish::Transparent;
    m_tray->SetIcon(FishIcon(Fish::Transparent));
}

void TfmMain::setBandFish(Fish fish)
{
    m_bandFish = fish;
    m_shownFish = fish;
    m_tray->SetIcon(FishIcon(fish));
}

void TfmMain::endOfStartUp()
{
    m_timerMinimize->stop();
    TStatus& status = m_ctx.data.Status();
    TProfileItem* profile = status.Profile();
    if (!status.HasStartTick() && profile)
        ApplyHidden(profile->AutoHide());
    if (profile)
        m_ctx.data.Launcher().StartAllOfKind(profile->Applications(), rkStartUp);
    m_international = std::make_unique<TCheckInternationalThread>(
        platform::DialUpService::instance(), m_ctx.settings.InternationalPrefix(),
        [this](const QString& entry, const QString& number) {
            if (m_commands.internationalFound)
                m_commands.internationalFound(entry, number);
        });
    m_international->Start();
    m_startUpPhase = false;
}

void TfmMain::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_dragOrigin = event->position().toPoint();
    setCursor(Qt::SizeAllCursor);
}

void TfmMain::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOrigin);
}

void TfmMain::mouseReleaseEvent(QMouseEvent*)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    unsetCursor();
    rememberSkinPosition();
}

void TfmMain::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift)
        setCursor(Qt::SizeAllCursor);
    QWidget::keyPressEvent(event);
}

void TfmMain::keyReleaseEvent(QKeyEvent* event)
{
    unsetCursor();
    QWidget::keyReleaseEvent(event);
}

void TfmMain::contextMenuEvent(QContextMenuEvent* event)
{
    m_menu->popup(event->globalPos());
}

void TfmMain::closeEvent(QCloseEvent* event)
{
    // Also the application's own quit asks the window: it closes once the program does.
    if (m_commands.close && !m_commands.close())
        event->ignore();
    else
        event->accept();
}

} // namespace vestrel
