#pragma once
// A Prompter whose answers a test scripts in advance and which records every
// message and question it was shown, so no test ever waits on a modal box.
// A question or dialog with no scripted answer is recorded in `unexpected`,
// which every test checks is empty at its end.

#include <QPrinter>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include "platform/prompter.h"

namespace fulgor::test {

class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString title;
        QString text;
        Icon icon = Icon::None;
        QString proposed;  // an input box's proposed answer
    };

    std::deque<bool> yesNoAnswers;
    std::deque<QString> inputAnswers;  // "" stands for Cancel
    std::deque<QString> fileAnswers;   // "" stands for a cancelled dialog
    std::deque<SaveChoice> saveAnswers;
    std::vector<Shown> messages;
    std::vector<Shown> questions;
    std::vector<FileDialogRequest> fileDialogs;
    QStringList unexpected;
    int busyDepth = 0;
    int busyCount = 0;
    // Progress reports of long commands, counted from 1; the one numbered
    // `cancelAtReport` (never when 0) answers as the Cancel button would.
    int progressReports = 0;
    int cancelAtReport = 0;
    int progressEnds = 0;
    // Called at every progress report, before it is answered: a test looks at
    // the window in the middle of a long command.
    std::function<void()> onProgress;
    QStringList progressLabels;
    int pageSetups = 0;
    // A print preview is answered by painting its pages into this PDF file; with
    // no file set it is unexpected.
    QString previewPdf;

    void message(const QString& title, const QString& text, Icon icon) override {
        messages.push_back({title, text, icon, QString()});
    }

    bool askYesNo(const QString& title, const QString& text, Icon icon) override {
        questions.push_back({title, text, icon, QString()});
        if (yesNoAnswers.empty()) {
            unexpected << QStringLiteral("question: ") + text;
            return false;
        }
        bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }

    QString input(const QString& title, const QString& prompt,
                  const QString& proposed = QString()) override {
        questions.push_back({title, prompt, Icon::None, proposed});
        if (inputAnswers.empty()) {
            unexpected << QStringLiteral("input box: ") + prompt;
            return {};
        }
        QString answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }

    SaveChoice askSaveChanges(const QString& title, const QString& text) override {
        questions.push_back({title, text, Icon::None, QString()});
        if (saveAnswers.empty()) {
            unexpected << QStringLiteral("save question: ") + text;
            return SaveChoice::Cancel;
        }
        SaveChoice answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    QString openFileName(const FileDialogRequest& request) override { return nextFile(request); }
    QString saveFileName(const FileDialogRequest& request) override { return nextFile(request); }

    void setBusy(bool busy) override {
        busyDepth += busy ? 1 : -1;
        if (busy) ++busyCount;
    }

    bool progress(const QString& label, double) override {
        if (!progressLabels.contains(label)) progressLabels << label;
        ++progressReports;
        if (onProgress) onProgress();
        return cancelAtReport == 0 || progressReports < cancelAtReport;
    }
    void endProgress() override { ++progressEnds; }

    void pageSetup(QPrinter&) override { ++pageSetups; }

    void printPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override {
        if (previewPdf.isEmpty()) {
            unexpected << QStringLiteral("print preview");
            return;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(previewPdf);
        paint(printer);
    }

    QString lastMessage() const { return messages.empty() ? QString() : messages.back().text; }

private:
    QString nextFile(const FileDialogRequest& request) {
        fileDialogs.push_back(request);
        if (fileAnswers.empty()) {
            unexpected << QStringLiteral("file dialog: ") + request.title;
            return {};
        }
        QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};

}  // namespace fulgor::test
