#include "MainMenu.h"

#include <QAction>
#include <QCollator>

#include <algorithm>

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

MenuVisibility VisibilityFor(bool dialCounting, bool connectionCounting, bool messengerActive, const QString& ip)
{
    MenuVisibility v;
    v.disconnect = dialCounting || connectionCounting;
    v.connections = !v.disconnect;
    v.winPopup = messengerActive;
    v.copyIp = !ip.isEmpty();
    v.copyIpCaption = v.copyIp ? u"&Copia IP "_s + ip : u"IndirizzoIP"_s;
    return v;
}

QStringList ConnectionsMenuEntries(const QStringList& phonebook, const QString& startEntry)
{
    QStringList sorted = phonebook;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(sorted.begin(), sorted.end(), collator);
    QStringList entries;
    if (!startEntry.isEmpty() && phonebook.contains(startEntry))
        entries << startEntry << QString();
    return entries + sorted;
}

MainMenu::MainMenu(QWidget* parent) : QMenu(parent)
{
    setObjectName(u"PopupMenu"_s);
    // The windows of these commands come with their own parts of the program: until then the
    // items are shown disabled.
    add(u"MenuItem1"_s, u"&Esci"_s);
    add(u"MenuNascondi"_s, u"&Nascondi"_s);
    addSeparator();
    add(u"MenuSegnaleOrario"_s, u"Se&gnale o&rario..."_s, false);
    add(u"MenuItem5"_s, u"&Sms..."_s, false);
    add(u"MenuWinPopup"_s, u"&Popup..."_s, false);
    addSeparator();
    add(u"MenuItem8"_s, u"Statistic&he..."_s, false);
    add(u"MenuItem9"_s, u"&Tariffe"_s);
    addSeparator();
    add(u"MenuImpostazioni"_s, u"&Impostazioni..."_s, false);
    m_skins = new QMenu(u"S&kin..."_s, this);
    m_skins->setObjectName(u"MenuDesign"_s);
    m_items[u"MenuDesign"_s] = addMenu(m_skins);
    addSeparator();
    add(u"MenuStart"_s, u"St&art"_s);
    add(u"MenuDisconnetti"_s, u"&Disconnetti"_s);
    add(u"MenuIndirizzoIP"_s, u"IndirizzoIP"_s);
    m_connections = new QMenu(u"C&onnessioni"_s, this);
    m_connections->setObjectName(u"MenuConnessioni"_s);
    m_items[u"MenuConnessioni"_s] = addMenu(m_connections);
    add(u"MenuDisconnettiAlle"_s, u"Disconnetti a&lle..."_s);
    addSeparator();
    add(u"MenuItem20"_s, u"&Guida"_s, false);
    add(u"MenuItem21"_s, u"Informa&zioni su..."_s);
    Apply(VisibilityFor(false, false, false, {}));
}

QAction* MainMenu::add(const QString& name, const QString& caption, bool enabled)
{
    QAction* action = addAction(caption);
    action->setObjectName(name);
    action->setEnabled(enabled);
    m_items[name] = action;
    return action;
}

QAction* MainMenu::Item(const QString& name) const
{
    const auto found = m_items.find(name);
    return found == m_items.end() ? nullptr : found->second;
}

void MainMenu::OnCommand(const QString& name, std::function<void()> command)
{
    QObject::connect(Item(name), &QAction::triggered, this, [command = std::move(command)] { command(); });
}

void MainMenu::Apply(const MenuVisibility& v)
{
    Item(u"MenuDisconnetti"_s)->setVisible(v.disconnect);
    Item(u"MenuDisconnettiAlle"_s)->setVisible(v.disconnect);
    Item(u"MenuConnessioni"_s)->setVisible(v.connections);
    Item(u"MenuStart"_s)->setVisible(v.connections);
    Item(u"MenuWinPopup"_s)->setVisible(v.winPopup);
    Item(u"MenuIndirizzoIP"_s)->setVisible(v.copyIp);
    Item(u"MenuIndirizzoIP"_s)->setText(v.copyIpCaption);
}

void MainMenu::SetHidden(bool hidden)
{
    Item(u"MenuNascondi"_s)->setText(hidden ? u"&Mostra"_s : u"&Nascondi"_s);
}

void MainMenu::BuildConnections(const QStringList& entries, const std::function<void(const QString&)>& dial)
{
    m_connections->clear();
    for (const QString& entry : entries) {
        if (entry.isEmpty()) {
            m_connections->addSeparator();
            continue;
        }
        QAction* action = m_connections->addAction(entry);
        QObject::connect(action, &QAction::triggered, m_connections, [dial, entry] { dial(entry); });
    }
    Item(u"MenuConnessioni"_s)->setEnabled(!entries.isEmpty());
}

} // namespace vestrel
