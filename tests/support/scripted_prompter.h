#pragma once
// A Prompter whose answers a test scripts in advance and which records every
// message and question it was shown, so no test ever waits on a modal box.
// A question or dialog with no scripted answer is recorded in `unexpected`,
// which every test checks is empty at its end.

#include <QString>
#include <QStringList>
#include <deque>

#include "platform/prompter.h"

namespace fulgor::test {

class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString title;
        QString text;
    };

    std::deque<bool> yesNoAnswers;
    std::deque<QString> inputAnswers;  // "" stands for Cancel
    std::deque<QString> fileAnswers;   // "" stands for a cancelled dialog
    std::vector<Shown> messages;
    std::vector<Shown> questions;
    QStringList inputDefaults;  // what each input box showed at first
    std::vector<FileDialogRequest> fileDialogs;
    QStringList unexpected;
    int busyDepth = 0;
    int busyCount = 0;

    void message(const QString& title, const QString& text, Icon) override {
        messages.push_back({title, text});
    }

    bool askYesNo(const QString& title, const QString& text, Icon) override {
        questions.push_back({title, text});
        if (yesNoAnswers.empty()) {
            unexpected << QStringLiteral("question: ") + text;
            return false;
        }
        bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }

    QString input(const QString& title, const QString& prompt,
                  const QString& defaultAnswer = QString()) override {
        questions.push_back({title, prompt});
        inputDefaults.push_back(defaultAnswer);
        if (inputAnswers.empty()) {
            unexpected << QStringLiteral("input box: ") + prompt;
            return {};
        }
        QString answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }

    QString openFileName(const FileDialogRequest& request) override { return nextFile(request); }
    QString saveFileName(const FileDialogRequest& request) override { return nextFile(request); }

    void setBusy(bool busy) override {
        busyDepth += busy ? 1 : -1;
        if (busy) ++busyCount;
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
