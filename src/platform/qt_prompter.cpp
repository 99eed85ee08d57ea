#include "platform/qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace fulgor {
namespace {

QMessageBox::Icon iconOf(Prompter::Icon icon) {
    switch (icon) {
        case Prompter::Icon::Exclamation:
            return QMessageBox::Warning;
        case Prompter::Icon::Critical:
            return QMessageBox::Critical;
        case Prompter::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString runFileDialog(QWidget* parent, const FileDialogRequest& request,
                      QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    QStringList filters = nameFiltersOf(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size()) {
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    }
    if (!request.defaultExtension.isEmpty()) dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QStringList nameFiltersOf(const QString& filter) {
    QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    return filters;
}

void QtPrompter::message(const QString& title, const QString& text, Icon icon) {
    QMessageBox box(iconOf(icon), title, text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtPrompter::askYesNo(const QString& title, const QString& text, Icon icon) {
    QMessageBox box(iconOf(icon), title, text, QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtPrompter::input(const QString& title, const QString& prompt,
                          const QString& defaultAnswer) {
    return QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, defaultAnswer);
}

QString QtPrompter::openFileName(const FileDialogRequest& request) {
    return runFileDialog(m_parent, request, QFileDialog::AcceptOpen);
}

QString QtPrompter::saveFileName(const FileDialogRequest& request) {
    return runFileDialog(m_parent, request, QFileDialog::AcceptSave);
}

void QtPrompter::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace fulgor
