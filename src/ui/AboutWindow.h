#pragma once

#include <QDialog>

namespace vestrel {

// "Informazioni su...": the program's name, version and build, and where to send error reports.
class TfmAbout : public QDialog {
public:
    TfmAbout(const QString& supportAddress, QWidget* parent = nullptr);
};

} // namespace vestrel
