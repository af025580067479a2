#include "ui/orders/UDbConnect.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "data/UnitDataConnection.h"
#include "data/UnitDataEngine.h"
#include "data/UnitDataSchema.h"
#include "ui/UiPlatform.h"

TfrmDbConnect::TfrmDbConnect(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDbConnect");
    setWindowTitle(QStringLiteral("数据库连接"));

    rbFile = new QRadioButton(QStringLiteral("文件"), this);
    rbFile->setObjectName("rbFile");
    rbServer = new QRadioButton(QStringLiteral("PostgreSQL 服务器"), this);
    rbServer->setObjectName("rbServer");
    rbFile->setChecked(true);

    p_fileBox = new QGroupBox(QStringLiteral("数据库文件"), this);
    txtFile = new QLineEdit(p_fileBox);
    txtFile->setObjectName("txtFile");
    txtFile->setPlaceholderText(QStringLiteral("空白：程序目录下的 KelmDB.db"));
    btnBrowse = new QPushButton(QStringLiteral("浏览(&B)..."), p_fileBox);
    btnBrowse->setObjectName("btnBrowse");
    auto* fileRow = new QHBoxLayout(p_fileBox);
    fileRow->addWidget(new QLabel(QStringLiteral("文件位置："), p_fileBox));
    fileRow->addWidget(txtFile, 1);
    fileRow->addWidget(btnBrowse);

    p_serverBox = new QGroupBox(QStringLiteral("服务器"), this);
    txtHost = new QLineEdit(p_serverBox);
    txtHost->setObjectName("txtHost");
    txtHost->setPlaceholderText(QStringLiteral("主机名或地址"));
    spnPort = new QSpinBox(p_serverBox);
    spnPort->setObjectName("spnPort");
    spnPort->setRange(1, 65535);
    spnPort->setValue(5432);
    txtDatabase = new QLineEdit(QStringLiteral("kelm"), p_serverBox);
    txtDatabase->setObjectName("txtDatabase");
    txtUser = new QLineEdit(p_serverBox);
    txtUser->setObjectName("txtUser");
    txtPassword = new QLineEdit(p_serverBox);
    txtPassword->setObjectName("txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    auto* grid = new QGridLayout(p_serverBox);
    const std::pair<const char*, QWidget*> rows[] = {{"主机：", txtHost},
                                                     {"端口：", spnPort},
                                                     {"数据库：", txtDatabase},
                                                     {"用户名：", txtUser},
                                                     {"密码：", txtPassword}};
    int row = 0;
    for (const auto& [caption, control] : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), p_serverBox), row, 0, Qt::AlignRight);
        grid->addWidget(control, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);

    btnTest = new QPushButton(QStringLiteral("测试连接(&T)"), this);
    btnTest->setObjectName("btnTest");
    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    btnCancel->setObjectName("btnCancel");

    auto* choice = new QHBoxLayout;
    choice->addWidget(new QLabel(QStringLiteral("数据库位置："), this));
    choice->addWidget(rbFile);
    choice->addWidget(rbServer);
    choice->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnTest);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(p_fileBox);
    layout->addWidget(p_serverBox);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(460, 360);

    connect(rbFile, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });
    connect(btnBrowse, &QPushButton::clicked, this, [this] {
        TSaveFileRequest request;
        request.parent = this;
        request.title = QStringLiteral("数据库文件");
        request.filter = QStringLiteral("数据库文件|*.db");
        request.defaultExt = QStringLiteral("db");
        request.fileName = txtFile->text().trimmed().isEmpty()
                               ? QStringLiteral("KelmDB.db")
                               : QDir::fromNativeSeparators(txtFile->text().trimmed());
        const QString path = RunSaveFileDialog(request);
        if (!path.isEmpty()) txtFile->setText(QDir::toNativeSeparators(path));
    });
    connect(btnTest, &QPushButton::clicked, this, [this] { btnTestClick(); });
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });
    UpdateEnabled();
}

void TfrmDbConnect::UpdateEnabled() {
    p_fileBox->setEnabled(rbFile->isChecked());
    p_serverBox->setEnabled(rbServer->isChecked());
}

void TfrmDbConnect::SetConnection(const QString& text) {
    TDbTarget target;
    if (text.trimmed().isEmpty() || !ParseDatabaseTarget(text, target)) {
        rbFile->setChecked(true);
        txtFile->setText(QDir::toNativeSeparators(text.trimmed()));
    } else if (target.engine == TDbEngine::File) {
        rbFile->setChecked(true);
        txtFile->setText(QDir::toNativeSeparators(target.path));
    } else {
        rbServer->setChecked(true);
        txtHost->setText(target.host);
        spnPort->setValue(target.port);
        txtDatabase->setText(target.database);
        txtUser->setText(target.user);
        txtPassword->setText(target.password);
        // A schema named in the URL is kept as it was.
        setProperty("kelmSchema", target.schema);
    }
    UpdateEnabled();
}

QString TfrmDbConnect::Connection() const {
    if (rbFile->isChecked()) return QDir::fromNativeSeparators(txtFile->text().trimmed());
    TDbTarget target;
    target.engine = TDbEngine::Server;
    target.host = txtHost->text().trimmed();
    target.port = spnPort->value();
    target.database = txtDatabase->text().trimmed();
    target.user = txtUser->text().trimmed();
    target.password = txtPassword->text();
    target.schema = property("kelmSchema").toString();
    return DatabaseTargetText(target);
}

bool TfrmDbConnect::CheckConnection(QString& text) {
    if (rbServer->isChecked()) {
        if (txtHost->text().trimmed().isEmpty()) {
            ShowInfo(QStringLiteral("请输入服务器主机！"));
            txtHost->setFocus();
            return false;
        }
        if (txtDatabase->text().trimmed().isEmpty()) {
            ShowInfo(QStringLiteral("请输入数据库名称！"));
            txtDatabase->setFocus();
            return false;
        }
    } else if (!txtFile->text().trimmed().isEmpty()) {
        const QFileInfo file(QDir::fromNativeSeparators(txtFile->text().trimmed()));
        if (file.isDir() || !file.absoluteDir().exists()) {
            ShowInfo(QStringLiteral("数据库文件所在的文件夹不存在！"));
            txtFile->setFocus();
            return false;
        }
    }
    text = Connection();
    QString error;
    TDbTarget target;
    if (!text.isEmpty() && !ParseDatabaseTarget(text, target, &error)) {
        ShowInfo(error);
        return false;
    }
    return true;
}

void TfrmDbConnect::btnTestClick() {
    QString text;
    if (!CheckConnection(text)) return;
    if (rbFile->isChecked()) {
        const QString path = text.isEmpty() ? TsysData::DefaultDatabasePath() : text;
        if (!QFileInfo::exists(path)) {
            ShowInfo(QStringLiteral("数据库文件还不存在，第一次使用时将自动建立。"));
            return;
        }
    }
    TDbTarget target;
    ParseDatabaseTarget(text.isEmpty() ? TsysData::DefaultDatabasePath() : text, target);
    setCursor(Qt::WaitCursor);
    // A connection of its own that only looks: testing never makes or changes a table.
    TKelmConnection connection(target, true);
    unsetCursor();
    if (!connection.IsOpen()) {
        ShowInfo(QStringLiteral("连接失败：%1").arg(connection.Error()));
        return;
    }
    QSet<QString> names;
    QSqlQuery q(connection.Db());
    if (q.exec(kelm::sql::ListObjects(target.engine)))
        while (q.next()) names.insert(q.value(0).toString().toLower());
    q.finish();
    if (names.isEmpty()) {
        ShowInfo(QStringLiteral("连接成功！数据库是空的，第一次使用时将建立数据表。"));
        return;
    }
    for (const TSchemaObject& o : KelmSchema()) {
        if (!o.addedLater && !names.contains(o.name.toLower())) {
            ShowInfo(QStringLiteral("连接成功，但这个数据库不是Kelm数据库，不能使用！"));
            return;
        }
    }
    ShowInfo(QStringLiteral("连接成功！"));
}

void TfrmDbConnect::btnOKClick() {
    QString text;
    if (!CheckConnection(text)) return;
    accept();
}
