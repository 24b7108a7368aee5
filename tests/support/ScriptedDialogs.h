#pragma once

#include "common/Dialogs.h"

#include <QString>

#include <deque>
#include <vector>

namespace vestrel::testing {

// Records every box shown and answers questions from a queue (default: No / Cancel).
// Installs itself as the process Dialogs while it lives.
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        DialogKind kind;
        QString text;
    };

    ScriptedDialogs() { Dialogs::setInstance(this); }
    ~ScriptedDialogs() override { Dialogs::setInstance(nullptr); }

    void setNextAnswer(DialogAnswer answer) { m_answers.push_back(answer); }

    DialogAnswer show(DialogKind kind, const QString& text) override
    {
        shown.push_back({kind, text});
        if (kind != DialogKind::YesNo && kind != DialogKind::YesNoCancel)
            return DialogAnswer::Ok;
        if (!m_answers.empty()) {
            const DialogAnswer a = m_answers.front();
            m_answers.pop_front();
            return a;
        }
        return kind == DialogKind::YesNo ? DialogAnswer::No : DialogAnswer::Cancel;
    }

    std::vector<Shown> shown;

private:
    std::deque<DialogAnswer> m_answers;
};

} // namespace vestrel::testing
