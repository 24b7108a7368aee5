#include "ProgramWindows.h"

#include "ExceptionReport.h"
#include "Program.h"

#include "monitor/DataShare.h"
#include "monitor/Status.h"
#include "monitor/ui/DialWindows.h"
#include "services/SoundPlayer.h"
#include "services/WaveSounds.h"
#include "tariff/ui/TaxWindows.h"
#include "ui/AboutWindow.h"
#include "widgets/Forms.h"

namespace vestrel {

using namespace Qt::Literals::StringLiterals;

ProgramWindows::ProgramWindows(Program& program)
    : m_program(program),
      m_sounds(std::make_unique<SoundPlayer>(program.Data().WaveSounds(),
                                             [&program]() -> const TProfileItem* { return program.Data().Status().Profile(); })),
      m_dialWindows(std::make_unique<DialWindows>(program.Data(), program.Settings(), [this] { openTaxChooser(); }))
{
    Sounds::setInstance(m_sounds.get());
}

ProgramWindows::~ProgramWindows()
{
    Sounds::setInstance(nullptr);
}

void ProgramWindows::openTaxChooser()
{
    TaxChooserContext context;
    context.Taxations = &m_program.Taxations();
    context.Status = &m_program.Data().Status();
    context.Settings = &m_program.Settings();
    OpenTaxChooser(context);
}

MainWindowCommands ProgramWindows::Commands()
{
    MainWindowCommands c;
    c.about = [this] { ShowForm<TfmAbout>(m_about, true, [] { return new TfmAbout(SupportAddress()); }); };
    c.taxChooser = [this] { openTaxChooser(); };
    c.refreshTaxWindows = [this] {
        RefreshTaxChooser();
        m_dialWindows->RefreshDialWindow();
    };
    c.scheduleDisconnection = [this] { m_dialWindows->OpenScheduleDialog(); };
    c.internationalFound = m_dialWindows->FoundHandler();
    return c;
}

void ProgramWindows::BindStores(const QString& directory)
{
    m_program.Data().WaveSounds().SetFileName(directory + u"Waves.dat"_s);
}

bool ProgramWindows::BringDialWindowToFront()
{
    if (!m_dialWindows->IsDialWindowVisible())
        return false;
    m_dialWindows->BringDialWindowToFront();
    return true;
}

} // namespace vestrel
