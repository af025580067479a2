#include "data/UnitDataEngine.h"

#include <QSettings>
#include <QUrl>
#include <QUrlQuery>

namespace {

const QString kSettingKey = QStringLiteral("database/connection");
const char* const kEnvironment = "KELM_DATABASE";

bool IsServerUrl(const QString& text) {
    return text.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive) ||
           text.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
}

QSettings UserSettings() { return QSettings(QStringLiteral("Kelm"), QStringLiteral("Kelm")); }

}  // namespace

QString TDbTarget::Display() const {
    if (engine == TDbEngine::File) return path;
    TDbTarget shown = *this;
    shown.password.clear();
    return DatabaseTargetText(shown);
}

bool ParseDatabaseTarget(const QString& text, TDbTarget& target, QString* error) {
    const QString t = text.trimmed();
    target = TDbTarget();
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (!IsServerUrl(t)) {
        if (t.isEmpty()) return fail(QStringLiteral("数据库文件路径为空！"));
        target.engine = TDbEngine::File;
        target.path = t;
        return true;
    }
    // QUrl would read a percent-encoded socket folder as a host name it must refuse,
    // so the authority is taken apart by hand.
    const qsizetype schemeEnd = t.indexOf(QStringLiteral("://")) + 3;
    QString rest = t.mid(schemeEnd);
    QString query;
    if (const qsizetype q = rest.indexOf(QLatin1Char('?')); q >= 0) {
        query = rest.mid(q + 1);
        rest = rest.left(q);
    }
    QString authority = rest;
    QString path;
    if (const qsizetype slash = rest.indexOf(QLatin1Char('/')); slash >= 0) {
        authority = rest.left(slash);
        path = rest.mid(slash + 1);
    }
    target.engine = TDbEngine::Server;
    QString hostPort = authority;
    if (const qsizetype at = authority.lastIndexOf(QLatin1Char('@')); at >= 0) {
        const QString userInfo = authority.left(at);
        hostPort = authority.mid(at + 1);
        const qsizetype colon = userInfo.indexOf(QLatin1Char(':'));
        target.user = QUrl::fromPercentEncoding(userInfo.left(colon).toUtf8());
        if (colon >= 0)
            target.password = QUrl::fromPercentEncoding(userInfo.mid(colon + 1).toUtf8());
    }
    QString portText;
    if (hostPort.startsWith(QLatin1Char('['))) {  // an IPv6 address
        const qsizetype close = hostPort.indexOf(QLatin1Char(']'));
        if (close < 0) return fail(QStringLiteral("服务器地址不正确！"));
        target.host = hostPort.mid(1, close - 1);
        if (hostPort.mid(close + 1).startsWith(QLatin1Char(':'))) portText = hostPort.mid(close + 2);
    } else {
        const qsizetype colon = hostPort.lastIndexOf(QLatin1Char(':'));
        target.host = QUrl::fromPercentEncoding(hostPort.left(colon).toUtf8());
        if (colon >= 0) portText = hostPort.mid(colon + 1);
    }
    if (!portText.isEmpty()) {
        bool ok = false;
        const int port = portText.toInt(&ok);
        if (!ok || port <= 0 || port > 65535) return fail(QStringLiteral("端口号不正确！"));
        target.port = port;
    }
    target.database = QUrl::fromPercentEncoding(path.toUtf8());
    const QUrlQuery items(query);
    for (const auto& item : items.queryItems(QUrl::FullyDecoded)) {
        if (item.first == QStringLiteral("host"))
            target.host = item.second;
        else if (item.first == QStringLiteral("port")) {
            bool ok = false;
            target.port = item.second.toInt(&ok);
            if (!ok || target.port <= 0 || target.port > 65535)
                return fail(QStringLiteral("端口号不正确！"));
        } else if (item.first == QStringLiteral("user"))
            target.user = item.second;
        else if (item.first == QStringLiteral("password"))
            target.password = item.second;
        else if (item.first == QStringLiteral("dbname"))
            target.database = item.second;
        else if (item.first == QStringLiteral("schema"))
            target.schema = item.second;
        else
            return fail(QStringLiteral("无法识别的连接参数：%1").arg(item.first));
    }
    // The schema goes into statement text; only a plain name is accepted.
    for (const QChar c : target.schema)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_')))
            return fail(QStringLiteral("模式名不正确！"));
    return true;
}

QString DatabaseTargetText(const TDbTarget& target) {
    if (target.engine == TDbEngine::File) return target.path;
    auto enc = [](const QString& s) { return QString::fromUtf8(QUrl::toPercentEncoding(s)); };
    QString text = QStringLiteral("postgresql://");
    if (!target.user.isEmpty() || !target.password.isEmpty()) {
        text += enc(target.user);
        if (!target.password.isEmpty()) text += QLatin1Char(':') + enc(target.password);
        text += QLatin1Char('@');
    }
    if (target.host.contains(QLatin1Char(':')))
        text += QLatin1Char('[') + target.host + QLatin1Char(']');
    else
        text += enc(target.host);
    if (target.port != 5432) text += QLatin1Char(':') + QString::number(target.port);
    text += QLatin1Char('/') + enc(target.database);
    if (!target.schema.isEmpty()) text += QStringLiteral("?schema=") + target.schema;
    return text;
}

QString ConfiguredDatabase() {
    if (DatabaseFromEnvironment()) return qEnvironmentVariable(kEnvironment).trimmed();
    return UserSettings().value(kSettingKey).toString().trimmed();
}

void SaveConfiguredDatabase(const QString& text) {
    QSettings settings = UserSettings();
    if (text.trimmed().isEmpty())
        settings.remove(kSettingKey);
    else
        settings.setValue(kSettingKey, text.trimmed());
    settings.sync();
}

bool DatabaseFromEnvironment() { return !qEnvironmentVariable(kEnvironment).trimmed().isEmpty(); }

namespace kelm::sql {

QString DriverName(TDbEngine engine) {
    return engine == TDbEngine::Server ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
}

QString ListObjects(TDbEngine engine) {
    if (engine == TDbEngine::Server)
        return QStringLiteral(
            "SELECT table_name FROM information_schema.tables "
            "WHERE table_schema = current_schema()");
    return QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view')");
}

QString BeginWrite(TDbEngine engine) {
    return engine == TDbEngine::Server ? QStringLiteral("BEGIN")
                                       : QStringLiteral("BEGIN IMMEDIATE");
}

QString LockRows(TDbEngine engine) {
    return engine == TDbEngine::Server ? QStringLiteral(" FOR UPDATE") : QString();
}

QString ResetCounter(TDbEngine engine, const QString& table, const QString& column) {
    if (engine != TDbEngine::Server) return QString();
    return QStringLiteral(
               "SELECT setval(pg_get_serial_sequence('%1','%2'), "
               "coalesce((SELECT max(%2) FROM %1), 0) + 1, false)")
        .arg(table.toLower(), column.toLower());
}

QString SerialiseWriters(TDbEngine engine, const QString& purpose) {
    if (engine != TDbEngine::Server || purpose.isEmpty()) return QString();
    QString quoted = purpose;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('kelm:%1'))").arg(quoted);
}

QString LockSchemaCreation(TDbEngine engine) {
    // Any fixed number will do, as long as every seat takes the same one.
    return engine == TDbEngine::Server ? QStringLiteral("SELECT pg_advisory_xact_lock(4155121)")
                                       : QString();
}

}  // namespace kelm::sql
