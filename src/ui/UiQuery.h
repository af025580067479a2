#pragma once
// SELECT statements with values bound as named parameters, for the windows' searches and
// key lookups: a value never becomes part of the statement's text.

#include <QPair>
#include <QString>
#include <QVector>
#include <memory>

class QSqlQuery;

// Runs a SELECT with named parameters bound as strings. On failure shows
// "连接数据库出现异常情况！" and returns an inactive query, like OpenQuery.
std::unique_ptr<QSqlQuery> OpenBoundQuery(const QString& sql,
                                          const QVector<QPair<QString, QString>>& params);
