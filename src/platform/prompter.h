#pragma once
// Every question and message the window puts to the user goes through a
// Prompter, so that tests can answer in advance and no test ever blocks on a
// modal box. QtPrompter shows real dialogs; tests use a scripted fake.

#include <QString>

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

    virtual ~Prompter() = default;
    // A message with an OK button.
    virtual void message(const QString& title, const QString& text, Icon icon) = 0;
    // A Yes/No question with No as the default button; true for Yes.
    virtual bool askYesNo(const QString& title, const QString& text, Icon icon) = 0;
    // An input box's answer, the box showing `defaultAnswer` at first; empty also
    // when cancelled (the commands treat both alike).
    virtual QString input(const QString& title, const QString& prompt,
                          const QString& defaultAnswer = QString()) = 0;
    // The chosen file name; empty when the dialog was cancelled.
    virtual QString openFileName(const FileDialogRequest& request) = 0;
    virtual QString saveFileName(const FileDialogRequest& request) = 0;
    // The busy (hourglass) pointer over the whole program; see BusyPointer.
    virtual void setBusy(bool busy) = 0;
};

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

}  // namespace fulgor
