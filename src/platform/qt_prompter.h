#pragma once

#include <QStringList>
#include <memory>

#include "platform/prompter.h"

class QProgressDialog;
class QWidget;

namespace fulgor {

// Real Qt dialogs, parented to the main window.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr);
    ~QtPrompter() override;
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& title, const QString& text, Icon icon) override;
    bool askYesNo(const QString& title, const QString& text, Icon icon) override;
    QString input(const QString& title, const QString& prompt,
                  const QString& proposed = QString()) override;
    SaveChoice askSaveChanges(const QString& title, const QString& text) override;
    QString openFileName(const FileDialogRequest& request) override;
    QString saveFileName(const FileDialogRequest& request) override;
    void setBusy(bool busy) override;
    bool progress(const QString& label, double done) override;
    void endProgress() override;
    void pageSetup(QPrinter& printer) override;
    void printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

private:
    QWidget* m_parent;
    std::unique_ptr<QProgressDialog> m_progress;
};

// "A (*.a)|*.a|B (*.b;*.c)|*.b;*.c" as Qt's name filters {"A (*.a)", "B (*.b *.c)"},
// each caption's bracket holding the pattern Qt matches; "*.*" (every file)
// becomes Qt's "*".
QStringList nameFiltersOf(const QString& filter);

}  // namespace fulgor
