#include "ui/UiQuery.h"

#include <QSqlQuery>

#include "data/UnitData.h"

std::unique_ptr<QSqlQuery> OpenBoundQuery(const QString& sql,
                                          const QVector<QPair<QString, QString>>& params) {
    TsysData* data = sysData();
    if (!data->Open()) {
        ShowInfo(QStringLiteral("连接数据库出现异常情况！"));
        return std::make_unique<QSqlQuery>();
    }
    auto query = std::make_unique<QSqlQuery>(data->Database());
    bool ok = query->prepare(sql);
    if (ok) {
        for (const auto& [name, value] : params)
            query->bindValue(name.startsWith(':') ? name : ':' + name, value);
        ok = query->exec();
    }
    if (!ok) {
        ShowInfo(QStringLiteral("连接数据库出现异常情况！"));
        return std::make_unique<QSqlQuery>();
    }
    return query;
}
