#pragma once
// Every question and message the window puts to the user goes through a
// Prompter, so that tests can answer in advance and no test ever blocks on a
// modal box. QtPrompter shows real dialogs; tests use a scripted fake.

#include <QString>
#include <functional>

#include "core/progress.h"

class QPrinter;

namespace fulgor {

// Message box titles use the application's name unless a command names its own.
inline const QString kAppTitle = QStringLiteral("Fulgor");

struct FileDialogRequest {
    QString title;
    QString filter;            // "Caption (*.ext)|*.ext|Caption 2 (*.x)|*.x"
    int filterIndex = 1;       // 1-based entry of `filter` preselected
    QString fileName;          // shown at first
    QString defaultExtension;  // added to a name typed without one ("kvn"); empty for none
};

class Prompter {
public:
    enum class Icon { None, Exclamation, Critical };
    enum class SaveChoice { Save, Discard, Cancel };

    virtual ~Prompter() = default;
    // A message with an OK button.
    virtual void message(const QString& title, const QString& text, Icon icon) = 0;
    // A Yes/No question with No as the default button; true for Yes.
    virtual bool askYesNo(const QString& title, const QString& text, Icon icon) = 0;
    // An input box's answer, starting from `proposed`; empty also when
    // cancelled (the commands treat both alike).
    virtual QString input(const QString& title, const QString& prompt,
                          const QString& proposed = QString()) = 0;
    // Unsaved changes: save them, discard them, or cancel what was asked for.
    virtual SaveChoice askSaveChanges(const QString& title, const QString& text) = 0;
    // The chosen file name; empty when the dialog was cancelled.
    virtual QString openFileName(const FileDialogRequest& request) = 0;
    virtual QString saveFileName(const FileDialogRequest& request) = 0;
    // The busy (hourglass) pointer over the whole program; see BusyPointer.
    virtual void setBusy(bool busy) = 0;
    // A long command's progress, `done` from 0 to 1, under `label`: a dialog
    // with Cancel, shown once the command has run half a second. False once the
    // user has cancelled. endProgress() closes the dialog; see LongCommand.
    virtual bool progress(const QString& label, double done) = 0;
    virtual void endProgress() = 0;
    // The page setup dialog of `printer`; choices made there stay in it, Cancel changes nothing.
    virtual void pageSetup(QPrinter& printer) = 0;
    // The print preview of `printer`, whose pages `paint` draws whenever the preview
    // needs them; the user prints from it.
    virtual void printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) = 0;
};

// A failed command's message: the error's own description (or a port's "not
// available!" text) with only an OK button, the application's name as title
// and no icon.
inline void showError(Prompter& prompter, const QString& text) {
    prompter.message(kAppTitle, text, Prompter::Icon::None);
}

// Shows the busy pointer for the lifetime of the guard, also when the
// guarded work leaves early.
class BusyPointer {
public:
    explicit BusyPointer(Prompter& prompter) : m_prompter(prompter) { m_prompter.setBusy(true); }
    ~BusyPointer() { m_prompter.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Prompter& m_prompter;
};

// A long command: the busy pointer and the progress dialog for the guard's
// lifetime. Hand report() to the pure command as its Progress; once the user
// cancels, it answers false and the command stops.
class LongCommand {
public:
    LongCommand(Prompter& prompter, QString label)
        : m_busy(prompter), m_prompter(prompter), m_label(std::move(label)) {
        m_prompter.progress(m_label, 0);
    }
    ~LongCommand() { m_prompter.endProgress(); }
    LongCommand(const LongCommand&) = delete;
    LongCommand& operator=(const LongCommand&) = delete;

    Progress report() {
        return [this](double done) {
            if (!m_cancelled && !m_prompter.progress(m_label, done)) m_cancelled = true;
            return !m_cancelled;
        };
    }
    bool cancelled() const { return m_cancelled; }

private:
    BusyPointer m_busy;
    Prompter& m_prompter;
    QString m_label;
    bool m_cancelled = false;
};

}  // namespace fulgor
