#include "TaxChooser.h"

#include "TaxActions.h"

#include "config/Settings.h"
#include "monitor/MatrixStatus.h"
#include "monitor/RasControl.h"
#include "monitor/Status.h"
#include "platform/DialUpService.h"
#include "tariff/Taxations.h"

#include "common/StringHelpers.h"
#include "common/VestrelError.h"
#include "common/Dialogs.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int TaxRole = Qt::UserRole;

// Tooltips break lines with LF; the program's texts with CR.
QString shown(const QString& text)
{
    return ScreenLines(text);
}

QString dialUpNumber(const QString& entry)
{
    platform::DialUpService& service = platform::DialUpService::instance();
    if (!service.isEntry(entry))
        return {};
    const platform::DialUpResult<platform::DialUpEntryProperties> properties =
        service.entryProperties(entry);
    return properties.ok() ? TRasControl::ComposePhoneNumber(properties.value) : QString();
}

QToolButton* commandButton(QWidget* parent, const QString& name, const QString& text,
                           const QString& hint, QStyle::StandardPixmap icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(parent->style()->standardIcon(icon));
    if (text.isEmpty()) {
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        button->setText(text);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    button->setToolTip(hint.isEmpty() ? QString(text).remove(u'&') : hint);
    button->setAutoRaise(true);
    return button;
}

// Runs a command of the window, showing what it raises.
template <class F>
void guarded(F&& command)
{
    try {
        command();
    } catch (const VestrelError& e) {
        ShowErrorBox(e.message());
    }
}

} // namespace

bool ConnectionDialledOrCounted()
{
    for (TMtxState state : {TMtxState::RasDialing, TMtxState::TapiDialing, TMtxState::ManualStart,
                            TMtxState::TapiStart, TMtxState::RasStart, TMtxState::RasConnected})
        if (IsMtxState(state))
            return true;
    return false;
}

TaxChooser::TaxChooser(const TaxChooserContext& context, TaxChooserMode mode, TEntryItem* entry,
                       QWidget* parent)
    : QDialog(parent), m_context(context), m_mode(mode), m_entry(entry)
{
    if (!m_context.Settings && m_context.Status)
        m_context.Settings = m_context.Status->Settings();
    if (!m_context.EntryPhoneNumber)
        m_context.EntryPhoneNumber = dialUpNumber;
    setWindowFlag(Qt::WindowStaysOnTopHint);
    buildWindow();
    const TTaxItem* first = nullptr;
    if (m_mode == TaxChooserMode::Choose) {
        setObjectName(u"fmTaxChooser"_s);
        setWindowTitle(u"Scegli la tariffa da impostare"_s);
        first = m_context.Status ? m_context.Status->Tax() : nullptr;
    } else {
        setObjectName(u"fmTaxSelection"_s);
        const QString name = !m_entry                            ? QString()
                             : m_entry->Nome() == ManualStartKey() ? ManualStartCaption()
                                                                   : m_entry->Nome();
        setWindowTitle(u"Scegli la tariffa da associare a "_s + name);
        if (m_entry && m_context.Taxations)
            first = m_context.Taxations->FindTax(m_entry->TaxName());
    }
    fillTree(first);
    m_label->setText(AssignText());
}

TaxChooser::~TaxChooser() = default;

void TaxChooser::buildWindow()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->setSpacing(4);

    m_buNuova = commandButton(this, u"buNuova"_s, u"&Nuova"_s, u"Crea una nuova tariffa"_s,
                              QStyle::SP_FileIcon);
    m_buModifica = commandButton(this, u"buModifica"_s, u"&Modifica"_s, {},
                                 QStyle::SP_FileDialogDetailedView);
    m_buElimina = commandButton(this, u"buElimina"_s, u"&Elimina"_s,
                                u"Elimina la tariffa selezionata"_s, QStyle::SP_TrashIcon);
    m_buFestivita = commandButton(this, u"buFestivita"_s, u"Festività"_s, {},
                                  QStyle::SP_FileDialogContentsView);
    m_buRipristina = commandButton(this, u"buRipristina"_s, {},
                                   u"Ripristina le tariffe preconfigurate"_s,
                                   QStyle::SP_BrowserReload);
    m_buChiudiTutte = commandButton(this, u"buChiudiTutte"_s, {},
                                    u"Chiude tutte le finestre di proprietà delle tariffe"_s,
                                    QStyle::SP_DialogCloseButton);
    auto* commands = new QHBoxLayout;
    commands->setSpacing(2);
    for (QToolButton* b : {m_buNuova, m_buModifica, m_buElimina, m_buFestivita})
        commands->addWidget(b);
    commands->addStretch();
    commands->addWidget(m_buRipristina);
    commands->addWidget(m_buChiudiTutte);
    layout->addLayout(commands);

    m_label = new QLabel(this);
    m_label->setObjectName(u"lbAssocia"_s);
    QFont bold = m_label->font();
    bold.setBold(true);
    m_label->setFont(bold);
    layout->addWidget(m_label);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(u"tvTariffe"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setExpandsOnDoubleClick(true);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_tree, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_buOk = new QPushButton(u"&OK"_s, this);
    m_buOk->setObjectName(u"buOk"_s);
    m_buOk->setDefault(true);
    buttons->addWidget(m_buOk);
    connect(m_buOk, &QPushButton::clicked, this, &QDialog::accept);
    if (m_mode == TaxChooserMode::Select) {
        auto* cancel = new QPushButton(u"&Annulla"_s, this);
        cancel->setObjectName(u"buAnnulla"_s);
        buttons->addWidget(cancel);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }
    layout->addLayout(buttons);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(u"StatusBar"_s);
    bar->setSizeGripEnabled(false);
    m_panelGestore = new QLabel(bar);
    m_panelNome = new QLabel(bar);
    m_panelDescrizione = new QLabel(bar);
    m_panelGestore->setObjectName(u"pnGestore"_s);
    m_panelNome->setObjectName(u"pnNome"_s);
    m_panelDescrizione->setObjectName(u"pnDescrizione"_s);
    for (QLabel* panel : {m_panelGestore, m_panelNome, m_panelDescrizione})
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panelGestore->setMinimumWidth(80);
    m_panelNome->setMinimumWidth(120);
    m_panelDescrizione->setMinimumWidth(40);
    bar->addWidget(m_panelGestore);
    bar->addWidget(m_panelNome);
    bar->addWidget(m_panelDescrizione, 1);
    layout->addWidget(bar);

    m_menu = new QMenu(this);
    const auto add = [this](const QString& text, void (TaxChooser::*command)()) {
        QAction* action = m_menu->addAction(text);
        connect(action, &QAction::triggered, this, [this, command] { guarded([&] { (this->*command)(); }); });
        return action;
    };
    add(u"Crea una nuova tariffa"_s, &TaxChooser::NewTax)->setObjectName(u"MenuNuova"_s);
    add(u"&Modifica"_s, &TaxChooser::EditSelected)->setObjectName(u"MenuModifica"_s);
    add(u"Elimina la tariffa selezionata"_s, &TaxChooser::DeleteSelected)->setObjectName(u"MenuElimina"_s);
    m_menu->addSeparator();
    add(u"Festività"_s, &TaxChooser::OpenHolidays)->setObjectName(u"MenuFestivita"_s);
    add(u"Ripristina le tariffe preconfigurate"_s, &TaxChooser::RestoreBuiltins)->setObjectName(u"MenuRipristina"_s);
    add(u"Chiude tutte le finestre di proprietà delle tariffe"_s, &TaxChooser::CloseAllProperties)
        ->setObjectName(u"MenuChiudiTutte"_s);

    const auto wire = [this](QToolButton* button, void (TaxChooser::*command)()) {
        connect(button, &QToolButton::clicked, this, [this, command] { guarded([&] { (this->*command)(); }); });
    };
    wire(m_buNuova, &TaxChooser::NewTax);
    wire(m_buModifica, &TaxChooser::EditSelected);
    wire(m_buElimina, &TaxChooser::DeleteSelected);
    wire(m_buFestivita, &TaxChooser::OpenHolidays);
    wire(m_buRipristina, &TaxChooser::RestoreBuiltins);
    wire(m_buChiudiTutte, &TaxChooser::CloseAllProperties);

    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) { guarded([&] { selectionChanged(node); }); });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* node) { guarded([&] { doubleClicked(node); }); });
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(m_tree->viewport()->mapToGlobal(at)); });

    resize(440, 460);
}

TTaxItem* TaxChooser::taxOf(const QTreeWidgetItem* node) const
{
    if (!node || !m_context.Taxations)
        return nullptr;
    auto* tax = reinterpret_cast<TTaxItem*>(node->data(0, TaxRole).value<quintptr>());
    // A node outlived by its tariff (deleted elsewhere before a rebuild) carries nothing.
    return tax && m_context.Taxations->Taxs().IndexOf(tax) >= 0 ? tax : nullptr;
}

TTaxItem* TaxChooser::SelectedTax() const
{
    return taxOf(m_tree->currentItem());
}

QTreeWidgetItem* TaxChooser::nodeOf(const TTaxItem* tax) const
{
    if (!tax)
        return nullptr;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* root = m_tree->topLevelItem(i);
        for (int j = 0; j < root->childCount(); ++j)
            if (root->child(j)->data(0, TaxRole).value<quintptr>() == reinterpret_cast<quintptr>(tax))
                return root->child(j);
    }
    return nullptr;
}

void TaxChooser::fillTree(const TTaxItem* select)
{
    const bool wasFilling = std::exchange(m_filling, true);
    m_tree->clear();
    if (m_context.Taxations) {
        for (const TaxGroup& group : GroupTaxsByGestore(m_context.Taxations->Taxs())) {
            auto* root = new QTreeWidgetItem(m_tree, QStringList{group.Gestore});
            root->setData(0, TaxRole, quintptr(0));
            for (TTaxItem* tax : group.Taxs) {
                auto* node = new QTreeWidgetItem(root, QStringList{tax->Nome()});
                node->setData(0, TaxRole, reinterpret_cast<quintptr>(tax));
            }
        }
    }
    m_tree->expandAll();
    QTreeWidgetItem* node = nodeOf(select);
    m_tree->setCurrentItem(node);
    if (node)
        m_tree->scrollToItem(node);
    m_filling = wasFilling;
    showTax(m_mode == TaxChooserMode::Choose && m_context.Status ? m_context.Status->Tax()
                                                                  : taxOf(node));
    updateCommands();
}

void TaxChooser::RebuildTree()
{
    fillTree(SelectedTax());
}

void TaxChooser::Refresh()
{
    if (m_mode == TaxChooserMode::Choose) {
        TTaxItem* current = m_context.Status ? m_context.Status->Tax() : nullptr;
        // A tariff set by this window's own selection is already shown.
        if (m_applying)
            showTax(current);
        else
            fillTree(current);
    } else {
        RebuildTree();
    }
    m_label->setText(AssignText());
}

void TaxChooser::selectionChanged(QTreeWidgetItem* node)
{
    if (m_filling)
        return;
    TTaxItem* tax = taxOf(node);
    if (m_mode == TaxChooserMode::Choose && tax && m_context.Status) {
        const bool wasApplying = std::exchange(m_applying, true);
        try {
            m_context.Status->SetTax(tax);
        } catch (...) {
            m_applying = wasApplying;
            throw;
        }
        m_applying = wasApplying;
        showTax(m_context.Status->Tax());
    } else if (m_mode == TaxChooserMode::Select) {
        showTax(tax);
    }
    updateCommands();
}

void TaxChooser::doubleClicked(QTreeWidgetItem* node)
{
    TTaxItem* tax = taxOf(node);
    if (!tax)
        return;
    if (m_mode == TaxChooserMode::Select) {
        accept();
    } else if (ConnectionDialledOrCounted()) {
        close();
    } else if (m_context.Callbacks.OpenProperties) {
        m_context.Callbacks.OpenProperties(tax);
    }
}

void TaxChooser::showTax(const TTaxItem* tax)
{
    m_panelGestore->setText(tax ? tax->Gestore() : QString());
    m_panelNome->setText(tax ? tax->Nome() : QString());
    m_panelDescrizione->setText(tax ? tax->Descrizione() : QString());
    m_hint = tax ? TrimBlanks(u"La tariffa corrente è "_s + tax->DisplayName() + u"\r"_s +
                              TrimBlanks(tax->Descrizione()))
                 : QString();
    m_tree->setToolTip(shown(m_hint));
}

void TaxChooser::updateCommands()
{
    const bool onTax = SelectedTax() != nullptr;
    const TaxWindowCallbacks& c = m_context.Callbacks;
    m_buNuova->setEnabled(bool(c.OpenProperties));
    m_buModifica->setEnabled(c.OpenProperties && onTax);
    m_buElimina->setEnabled(onTax);
    m_buFestivita->setEnabled(bool(c.OpenHolidays));
    m_buChiudiTutte->setEnabled(bool(c.CloseAllProperties));
    const QList<QAction*> actions = m_menu->actions();
    for (QAction* action : actions) {
        const QString name = action->objectName();
        if (name == u"MenuNuova"_s)
            action->setEnabled(m_buNuova->isEnabled());
        else if (name == u"MenuModifica"_s)
            action->setEnabled(m_buModifica->isEnabled());
        else if (name == u"MenuElimina"_s)
            action->setEnabled(onTax);
        else if (name == u"MenuFestivita"_s)
            action->setEnabled(m_buFestivita->isEnabled());
        else if (name == u"MenuChiudiTutte"_s)
            action->setEnabled(m_buChiudiTutte->isEnabled());
    }
}

QString TaxChooser::entryLabel(const QString& shownName, const QString& rawName, bool manual,
                               bool numberKnown) const
{
    QString text = u"Associa la tariffa a "_s + shownName;
    if (!numberKnown && !manual) {
        const QString number = m_context.EntryPhoneNumber(rawName).trimmed();
        if (!number.isEmpty())
            text += u" tel "_s + number;
    }
    return text;
}

QString TaxChooser::AssignText() const
{
    if (m_mode == TaxChooserMode::Select) {
        if (!m_entry)
            return u"Imposta la tariffa"_s;
        const bool manual = m_entry->Nome() == ManualStartKey();
        return entryLabel(manual ? ManualStartCaption() : m_entry->Nome(), m_entry->Nome(), manual,
                          false);
    }
    const TStatus* status = m_context.Status;
    if (!status || !status->HasEntryName())
        return u"Imposta la tariffa"_s;
    const bool manual = status->IsManualStart();
    return entryLabel(status->EntryName(), manual ? ManualStartKey() : status->EntryName(), manual,
                      !status->DialingNumber().trimmed().isEmpty());
}

void TaxChooser::NewTax()
{
    if (m_context.Callbacks.OpenProperties)
        m_context.Callbacks.OpenProperties(nullptr);
}

void TaxChooser::EditSelected()
{
    TTaxItem* tax = SelectedTax();
    if (tax && m_context.Callbacks.OpenProperties)
        m_context.Callbacks.OpenProperties(tax);
}

void TaxChooser::DeleteSelected()
{
    TTaxItem* tax = SelectedTax();
    if (!tax || !m_context.Taxations)
        return;
    // The selection dialog does not change the current tariff unless it is the one deleted.
    TTaxItem* first = DeleteTaxAsked(*m_context.Taxations, m_context.Status, tax,
                                     m_mode == TaxChooserMode::Select);
    if (first)
        afterListChanged(first);
}

void TaxChooser::OpenHolidays()
{
    if (m_context.Callbacks.OpenHolidays)
        m_context.Callbacks.OpenHolidays();
}

void TaxChooser::RestoreBuiltins()
{
    if (!m_context.Taxations)
        return;
    if (!RestoreBuiltinTaxsAsked(*m_context.Taxations, m_context.Status,
                                 m_context.Callbacks.CloseAllProperties))
        return;
    TTaxItem* select = m_context.Taxations->Taxs().Count() > 0 ? m_context.Taxations->Taxs()[0] : nullptr;
    if (m_mode == TaxChooserMode::Select && m_entry)
        if (TTaxItem* associated = m_context.Taxations->FindTax(m_entry->TaxName()))
            select = associated;
    afterListChanged(select);
}

void TaxChooser::afterListChanged(TTaxItem* select)
{
    fillTree(m_mode == TaxChooserMode::Choose && m_context.Status ? m_context.Status->Tax() : select);
}

void TaxChooser::CloseAllProperties()
{
    if (m_context.Callbacks.CloseAllProperties)
        m_context.Callbacks.CloseAllProperties();
}

void TaxChooser::done(int result)
{
    if (m_mode == TaxChooserMode::Select) {
        TTaxItem* tax = SelectedTax();
        if (result == QDialog::Accepted && tax && m_entry)
            m_entry->SetTaxName(tax->DisplayName());
    } else {
        if (TStatus* status = m_context.Status) {
            status->SetQuestionPending(false);
            if (status->Tax() && status->HasEntryName() && m_context.Settings)
                m_context.Settings->Entrys().AssignTax(
                    status->IsManualStart() ? ManualStartKey() : status->EntryName(),
                    status->Tax()->DisplayName());
        }
    }
    QDialog::done(result);
}

void TaxChooser::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        guarded([this] { DeleteSelected(); });
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vestrel
