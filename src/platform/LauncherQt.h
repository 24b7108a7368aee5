#pragma once

#include "LauncherService.h"

#include <QStringList>

namespace vestrel::platform {

// Programs run through QProcess as detached processes, so they outlive the program; documents,
// folders and links go to the desktop's opener (xdg-open). QDesktopServices would do the same
// but needs QtGui, which the core does not link.
class LauncherQt final : public LauncherService {
public:
    // An empty opener is looked up on PATH as "xdg-open".
    explicit LauncherQt(QString opener = {});
    LaunchResult launch(const LaunchRequest& request) override;

private:
    QString m_opener;
};

// What a launch will run, or why it cannot.
struct LaunchPlan {
    qint32 instance = LaunchCode::Started;
    QString program;
    QStringList arguments;
    QString workingDirectory;
};

// The rules of LauncherQt without starting anything. `opener` is the opener's path, empty when
// there is none. A target is run itself when it is an executable file (ELF or "#!" script with
// the execute permission) or a bare program name found on PATH; links with a scheme, folders and
// every other file are opened. A relative path counts from the working directory.
LaunchPlan PlanLaunch(const LaunchRequest& request, const QString& opener);

} // namespace vestrel::platform
