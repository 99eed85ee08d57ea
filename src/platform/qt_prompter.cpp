#include "platform/qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <algorithm>

namespace fulgor {

QtPrompter::QtPrompter(QWidget* parent) : m_parent(parent) {}

QtPrompter::~QtPrompter() = default;

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
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // Qt matches the patterns in the caption's brackets, and its "*.*" only
        // names with a dot: a script saved as "show" would never be listed.
        QString pattern = parts[i + 1] == QLatin1String("*.*") ? QStringLiteral("*") : parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString caption = parts[i];
        if (qsizetype bracket = caption.lastIndexOf(QLatin1String(" ("));
            bracket >= 0 && caption.endsWith(QLatin1Char(')')))
            caption.truncate(bracket);
        filters << caption + QLatin1String(" (") + pattern + QLatin1Char(')');
    }
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

QString QtPrompter::input(const QString& title, const QString& prompt, const QString& proposed) {
    return QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, proposed);
}

Prompter::SaveChoice QtPrompter::askSaveChanges(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Warning, title, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
    }
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

bool QtPrompter::progress(const QString& label, double done) {
    constexpr int kSteps = 1000;
    if (!m_progress) {
        m_progress =
            std::make_unique<QProgressDialog>(label, QStringLiteral("Cancel"), 0, kSteps, m_parent);
        m_progress->setWindowTitle(kAppTitle);
        // Modal, so that nothing else runs while the command's events are processed.
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setMinimumDuration(500);
        m_progress->setAutoReset(false);
        m_progress->setAutoClose(false);
        m_progress->setValue(0);
    }
    m_progress->setLabelText(label);
    m_progress->setValue(static_cast<int>(std::clamp(done, 0.0, 1.0) * kSteps));
    return !m_progress->wasCanceled();
}

void QtPrompter::endProgress() {
    m_progress.reset();
}

void QtPrompter::pageSetup(QPrinter& printer) {
    QPageSetupDialog dialog(&printer, m_parent);
    dialog.exec();
}

void QtPrompter::printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog dialog(&printer, m_parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* pages) { paint(*pages); });
    dialog.resize(900, 700);
    dialog.exec();
}

}  // namespace fulgor
