#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vestrel {

class TEntryItem;
class TSettings;
class TStatus;
class TTaxations;
class TTaxItem;

// The windows the chooser opens but does not own. A command whose callback is not given has
// its buttons and menu items disabled.
struct TaxWindowCallbacks {
    // The properties window of a tariff (an open one brought forward), or an empty one for a new
    // tariff when called with nullptr.
    std::function<void(TTaxItem* tax)> OpenProperties;
    // Closes every open tariff properties window.
    std::function<void()> CloseAllProperties;
    // The holiday calendar.
    std::function<void()> OpenHolidays;
};

// What the chooser works on; nothing is owned.
struct TaxChooserContext {
    TTaxations* Taxations = nullptr;
    // The live status; may be nullptr for the selection dialog.
    TStatus* Status = nullptr;
    // The entries the closing chooser records the tariff in; the status's settings when nullptr.
    TSettings* Settings = nullptr;
    TaxWindowCallbacks Callbacks;
    // The number a dial-up entry dials, shown beside its name. When not given, the dial-up
    // service is asked (empty for a name that is not one of its entries).
    std::function<QString(const QString& entry)> EntryPhoneNumber;
};

// Choose: the tariff chooser, where selecting a tariff makes it the live status's current one.
// Select: the selection dialog of one connection entry, where selecting only shows the tariff
// and OK associates it with the entry.
enum class TaxChooserMode { Choose, Select };

// The tree of operators and tariffs with the commands that manage the tariff list.
class TaxChooser : public QDialog {
public:
    // `entry` is the entry whose tariff the Select mode edits; Choose ignores it.
    TaxChooser(const TaxChooserContext& context, TaxChooserMode mode, TEntryItem* entry = nullptr,
               QWidget* parent = nullptr);
    ~TaxChooser() override;

    TaxChooserMode Mode() const { return m_mode; }
    // The tariff of the selected node; nullptr on an operator node or with nothing selected.
    TTaxItem* SelectedTax() const;
    // The program's texts as shown (line breaks as CR).
    QString Hint() const { return m_hint; }
    QString AssignText() const;

    // Shows the live status's current tariff again: rebuilds the tree (Choose) and refreshes the
    // label, status bar and hint. The main window calls it when the current tariff changed.
    void Refresh();
    // Rebuilds the tree from the tariff list, keeping the selected tariff when it still exists.
    void RebuildTree();

    // The commands.
    void NewTax();
    void EditSelected();
    void DeleteSelected();
    void OpenHolidays();
    void RestoreBuiltins();
    void CloseAllProperties();

protected:
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildWindow();
    void fillTree(const TTaxItem* select);
    QTreeWidgetItem* nodeOf(const TTaxItem* tax) const;
    TTaxItem* taxOf(const QTreeWidgetItem* node) const;
    void selectionChanged(QTreeWidgetItem* node);
    void doubleClicked(QTreeWidgetItem* node);
    void showTax(const TTaxItem* tax);
    void updateCommands();
    QString entryLabel(const QString& shownName, const QString& rawName, bool manual,
                       bool numberKnown) const;
    void afterListChanged(TTaxItem* select);

    TaxChooserContext m_context;
    TaxChooserMode m_mode;
    TEntryItem* m_entry;
    QString m_hint;
    bool m_filling = false;
    bool m_applying = false;

    QLabel* m_label = nullptr;
    QTreeWidget* m_tree = nullptr;
    QLabel* m_panelGestore = nullptr;
    QLabel* m_panelNome = nullptr;
    QLabel* m_panelDescrizione = nullptr;
    QToolButton* m_buNuova = nullptr;
    QToolButton* m_buModifica = nullptr;
    QToolButton* m_buElimina = nullptr;
    QToolButton* m_buFestivita = nullptr;
    QToolButton* m_buRipristina = nullptr;
    QToolButton* m_buChiudiTutte = nullptr;
    QMenu* m_menu = nullptr;
    QPushButton* m_buOk = nullptr;
};

// True while a connection is being dialled or counted: the machine in RasDialing, TapiDialing,
// ManualStart, TapiStart, RasStart or RasConnected.
bool ConnectionDialledOrCounted();

} // namespace vestrel
