#pragma once

#include "platform/prompter.h"

class QWidget;

namespace fulgor {

// Real Qt dialogs, parented to the main window.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& title, const QString& text, Icon icon) override;
    bool askYesNo(const QString& title, const QString& text, Icon icon) override;
    QString input(const QString& title, const QString& prompt,
                  const QString& defaultAnswer = QString()) override;
    QString openFileName(const FileDialogRequest& request) override;
    QString saveFileName(const FileDialogRequest& request) override;
    void setBusy(bool busy) override;

private:
    QWidget* m_parent;
};

// "A (*.a)|*.a|B (*.b)|*.b" as Qt's name filters {"A (*.a)", "B (*.b)"}.
QStringList nameFiltersOf(const QString& filter);

}  // namespace fulgor
