#pragma once

#include <QMenu>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>

class QAction;

namespace vestrel {

// Which items of the popup menu are visible, from the state of the connection.
struct MenuVisibility {
    bool disconnect = false;     // "&Disconnetti" and "Disconnetti a&lle..."
    bool connections = false;    // "C&onnessioni" and "St&art"
    bool winPopup = false;
    bool copyIp = false;
    QString copyIpCaption;
};
MenuVisibility VisibilityFor(bool dialCounting, bool connectionCounting, bool messengerActive, const QString& ip);

// The entries of the "C&onnessioni" submenu: the start entry first when it is a phonebook entry
// (an empty string stands for the separator after it), then every entry alphabetically.
QStringList ConnectionsMenuEntries(const QStringList& phonebook, const QString& startEntry);

// The popup menu of the main window and of the tray icon. Items keep their designed names
// (MenuItem1, MenuNascondi, ...); a command is wired by name.
class MainMenu : public QMenu {
public:
    explicit MainMenu(QWidget* parent = nullptr);

    QAction* Item(const QString& name) const;
    QMenu* Connections() const { return m_connections; }
    QMenu* Skins() const { return m_skins; }
    void OnCommand(const QString& name, std::function<void()> command);

    void Apply(const MenuVisibility& visibility);
    // "&Nascondi", or "&Mostra" while the window is hidden.
    void SetHidden(bool hidden);
    // Rebuilds "C&onnessioni"; choosing an entry calls `dial` with it. Disabled when empty.
    void BuildConnections(const QStringList& entries, const std::function<void(const QString&)>& dial);

private:
    QAction* add(const QString& name, const QString& caption, bool enabled = true);

    std::map<QString, QAction*> m_items;
    QMenu* m_connections;
    QMenu* m_skins;
};

} // namespace vestrel
