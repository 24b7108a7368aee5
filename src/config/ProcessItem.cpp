#include "ProcessItem.h"

#include "common/StringHelpers.h"

#include "common/Notices.h"

namespace vestrel {

using namespace store;
using namespace Qt::Literals::StringLiterals;

namespace {
std::function<void()>& errorSound()
{
    static std::function<void()> play;
    return play;
}
} // namespace

const ClassInfo& TProcessItem::staticClassInfo()
{
    using T = TProcessItem;
    static const EnumNames runKinds = {"rkConnected", "rkManual", "rkStartUp"};
    static const EnumNames closeKinds = {"ckNone", "ckDisconnected", "ckExit"};
    static const ClassInfo info =
        ClassBuilder<T>("TProcessItem", &TDataCollectionItem::staticClassInfo())
            .string("Nome", &T::Nome, &T::SetNome)
            .string("Path", &T::Path, &T::SetPath)
            .string("WorkingDirectory", &T::WorkingDirectory, &T::SetWorkingDirectory)
            .string("CommandLine", &T::CommandLine, &T::SetCommandLine)
            .enumeration("RunKind", &T::RunKind, &T::SetRunKind, runKinds)
            .enumeration("CloseKind", &T::CloseKind, &T::SetCloseKind, closeKinds)
            .integer("CmdShow", &T::CmdShow, &T::SetCmdShow)
            .event("OnRun", [](T& item) { item.OnRun = nullptr; })
            .event("OnClose", [](T& item) { item.OnClose = nullptr; })
            .build();
    return info;
}

void ReportApplicationError(TProcessItem* item, const QString& message)
{
    ShowNotice(Balloon::Notice, TrimBlanks(message + u"\r["_s + item->Path() + u']'));
    if (errorSound())
        errorSound()();
}

void SetApplicationErrorSound(std::function<void()> play)
{
    errorSound() = std::move(play);
}

} // namespace vestrel
