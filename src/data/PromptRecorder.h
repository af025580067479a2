#pragma once
// A prompt that records every message instead of showing it and answers
// confirmations from a script, for tests of anything that talks to the user.

#include <QStringList>
#include <deque>

#include "data/SavePrompt.h"
#include "data/UnitData.h"

class TPromptRecorder : public TPrompt, public TSavePrompt {
  public:
    void Info(const QString& text) override { infos << text; }
    bool Confirm(const QString& text) override {
        confirms << text;
        if (answers.empty()) return defaultAnswer;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    TSaveAnswer AskSave(const QString& text) override {
        saveQuestions << text;
        if (saveAnswers.empty()) return defaultSaveAnswer;
        const TSaveAnswer a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }
    // Every message in the order shown, information and confirmation alike.
    QStringList infos;
    QStringList confirms;
    std::deque<bool> answers;    // next confirmation answers, used front first
    bool defaultAnswer = false;  // when the script has run out: Cancel
    QStringList saveQuestions;   // 保存 / 不保存 / 取消 questions asked
    std::deque<TSaveAnswer> saveAnswers;
    TSaveAnswer defaultSaveAnswer = TSaveAnswer::Cancel;
};
