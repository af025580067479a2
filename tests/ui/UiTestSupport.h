#pragma once
// Fixture for window tests: a fresh database in a temp folder installed as the data
// module, a prompt recorder with scripted answers, and a script of what each inner
// window does when a window opens it modally.

#include <gtest/gtest.h>

#include <QDialog>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>

#include "data/PromptRecorder.h"
#include "data/UnitData.h"
#include "ui/UiPlatform.h"

class UiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        data = std::make_unique<TsysData>(dir.filePath("KelmDB.db"));
        data->SetPrompt(&prompt);
        SetSysData(data.get());
        ASSERT_TRUE(data->Open());
        SetShowModalHandler([this](QDialog& dialog) {
            opened << dialog.metaObject()->className();
            if (modalScript.empty()) return int(QDialog::Rejected);
            auto step = std::move(modalScript.front());
            modalScript.pop_front();
            step(dialog);
            return dialog.result();
        });
        SetSaveFileHandler([this](const TSaveFileRequest& request) {
            saveRequests.push_back(request);
            return saveAnswer;
        });
    }

    void TearDown() override {
        SetShowModalHandler({});
        SetSaveFileHandler({});
        SetColorHandler({});
        SetSysData(nullptr);
        data.reset();
    }

    // The next modal window must be a T; the action plays the user's part in it.
    template <typename T>
    void ExpectModal(std::function<void(T&)> action) {
        modalScript.push_back([action](QDialog& dialog) {
            T* window = qobject_cast<T*>(&dialog);
            ASSERT_NE(window, nullptr) << "opened " << dialog.metaObject()->className();
            action(*window);
        });
    }

    // Runs a statement with parameters and fails the test when it did not change a row.
    void Exec(const QString& sql, const QVector<QPair<QString, QString>>& params = {}) {
        data->SetCommonSQL(sql);
        for (const auto& [name, value] : params) data->SetCommonParam(name, value);
        ASSERT_TRUE(data->ExecCommon())
            << sql.toStdString() << " " << data->LastError().toStdString();
    }

    int Count(const QString& sql) {
        auto query = data->OpenQuery(sql);
        return query->next() ? query->value(0).toInt() : -1;
    }

    void AddOrder(const QString& proID, const QString& code, const QString& name,
                  const QString& begDt = "2024-05-01") {
        Exec(
            "INSERT INTO FProject(proID,proCode,proName,begDt,endDt,bz) "
            "VALUES(:proID,:proCode,:proName,:begDt,:endDt,:bz)",
            {{"proID", proID},
             {"proCode", code},
             {"proName", name},
             {"begDt", begDt},
             {"endDt", "2024-05-11"},
             {"bz", ""}});
    }

    void AddEntry(const QString& winID, const QString& proID, double width, double height,
                  double depth, double count, const QString& code = "G1") {
        Exec(
            "INSERT INTO FProWins(winID,proID,winPath,winCode,winCount,Width,Height,Depth,"
            "Maked) VALUES(:winID,:proID,'',:winCode,:winCount,:Width,:Height,:Depth,0)",
            {{"winID", winID},
             {"proID", proID},
             {"winCode", code},
             {"winCount", QString::number(count)},
             {"Width", QString::number(width)},
             {"Height", QString::number(height)},
             {"Depth", QString::number(depth)}});
    }

    QTemporaryDir dir;
    std::unique_ptr<TsysData> data;
    TPromptRecorder prompt;
    std::deque<std::function<void(QDialog&)>> modalScript;
    QStringList opened;  // class names of the windows opened modally, in order
    std::vector<TSaveFileRequest> saveRequests;
    QString saveAnswer;  // what the save dialog answers (empty: cancelled)
};
