#include "admin/windows/Tsjqyw.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "widgets/WindowStyle.h"

namespace rsgz::admin {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QLineEdit* box(QWidget* parent, const char* name, const std::string& text)
{
    auto* b = new QLineEdit(q(text), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QPushButton* button(QWidget* parent, const char* name, const char* text)
{
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QTableWidgetItem* cell(const QString& text, bool number = false)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

Tsjqyw::Tsjqyw(app::TDM& dm, QWidget* parent) : QDialog(parent), migration_(dm)
{
    setObjectName(QStringLiteral("Tsjqyw"));
    setWindowTitle(QStringLiteral("数据库迁移"));
    grid_ = new QTableWidget(0, 6, this);
    grid_->setObjectName(QStringLiteral("checksGrid"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("表"), QStringLiteral("源行数"), QStringLiteral("目标行数"),
                                      QStringLiteral("源校验和"), QStringLiteral("目标校验和"), QStringLiteral("核对")});
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summaryLabel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildDirection());
    layout->addWidget(buildFile());
    layout->addWidget(buildServer());
    layout->addWidget(grid_, 1);
    layout->addWidget(summary_);
    layout->addWidget(buildButtons());
    showDirection();
    widgets::finishListDialog(this, 900, 640);
}

QWidget* Tsjqyw::buildDirection()
{
    auto* group = new QGroupBox(QStringLiteral("迁移方向"), this);
    toServer_ = new QRadioButton(QStringLiteral("数据库文件 → 数据库服务器"), group);
    toServer_->setObjectName(QStringLiteral("toServerButton"));
    toFile_ = new QRadioButton(QStringLiteral("数据库服务器 → 新的数据库文件"), group);
    toFile_->setObjectName(QStringLiteral("toFileButton"));
    (migration_.direction == Migration::Direction::FileToServer ? toServer_ : toFile_)->setChecked(true);
    auto* row = new QHBoxLayout(group);
    row->addWidget(toServer_);
    row->addWidget(toFile_);
    row->addStretch();
    connect(toServer_, &QRadioButton::toggled, this, [this](bool on) {
        migration_.direction = on ? Migration::Direction::FileToServer : Migration::Direction::ServerToFile;
        // The file read and the file written are different files: a new direction starts without one.
        migration_.file.clear();
        fileBox_->clear();
        showDirection();
    });
    return group;
}

QWidget* Tsjqyw::buildFile()
{
    auto* w = new QWidget(this);
    fileLabel_ = new QLabel(w);
    fileBox_ = box(w, "fileBox", migration_.file);
    auto* choose = button(w, "chooseFileButton", "选择文件…");
    connect(choose, &QPushButton::clicked, this, &Tsjqyw::chooseFile);
    auto* row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(fileLabel_);
    row->addWidget(fileBox_, 1);
    row->addWidget(choose);
    return w;
}

QWidget* Tsjqyw::buildServer()
{
    auto* group = new QGroupBox(QStringLiteral("数据库服务器"), this);
    const db::ServerTarget& s = migration_.server;
    hostBox_ = box(group, "hostBox", s.host);
    hostBox_->setPlaceholderText(QStringLiteral("主机名、地址或套接字所在的文件夹"));
    portBox_ = new QSpinBox(group);
    portBox_->setObjectName(QStringLiteral("portBox"));
    portBox_->setRange(1, 65535);
    portBox_->setValue(s.port);
    databaseBox_ = box(group, "databaseBox", s.database);
    userBox_ = box(group, "userBox", s.user);
    passwordBox_ = box(group, "passwordBox", {});
    passwordBox_->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("主机"), hostBox_);
    form->addRow(QStringLiteral("端口"), portBox_);
    form->addRow(QStringLiteral("数据库"), databaseBox_);
    form->addRow(QStringLiteral("用户名"), userBox_);
    form->addRow(QStringLiteral("密码"), passwordBox_);
    return group;
}

QWidget* Tsjqyw::buildButtons()
{
    auto* w = new QWidget(this);
    auto* startButton = button(w, "startButton", "开始迁移");
    auto* close = button(w, "closeButton", "返回");
    connect(startButton, &QPushButton::clicked, this, &Tsjqyw::start);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch();
    row->addWidget(startButton);
    row->addWidget(close);
    return w;
}

void Tsjqyw::showDirection()
{
    const bool toServer = migration_.direction == Migration::Direction::FileToServer;
    fileLabel_->setText(toServer ? QStringLiteral("要迁移的数据库文件") : QStringLiteral("新的数据库文件"));
}

void Tsjqyw::takeBoxes()
{
    migration_.file = fileBox_->text().trimmed().toStdString();
    db::ServerTarget& s = migration_.server;
    s.host = hostBox_->text().trimmed().toStdString();
    s.port = portBox_->value();
    s.database = databaseBox_->text().trimmed().toStdString();
    s.user = userBox_->text().trimmed().toStdString();
    s.password = passwordBox_->text().toStdString();
}

void Tsjqyw::chooseFile()
{
    if (migration_.chooseFile()) fileBox_->setText(q(migration_.file));
}

void Tsjqyw::start()
{
    takeBoxes();
    grid_->setRowCount(0);
    summary_->clear();
    migration_.run();
    showChecks();
}

void Tsjqyw::showChecks()
{
    const auto& checks = migration_.checks();
    grid_->setRowCount(static_cast<int>(checks.size()));
    int agreeing = 0;
    for (int r = 0; r < grid_->rowCount(); ++r) {
        const db::TableCheck& c = checks[static_cast<size_t>(r)];
        agreeing += c.matches() ? 1 : 0;
        grid_->setItem(r, 0, cell(q(c.table)));
        grid_->setItem(r, 1, cell(QString::number(c.source.rows), true));
        grid_->setItem(r, 2, cell(QString::number(c.target.rows), true));
        grid_->setItem(r, 3, cell(q(c.source.checksum)));
        grid_->setItem(r, 4, cell(q(c.target.checksum)));
        auto* verdict = cell(c.matches() ? QStringLiteral("一致") : QStringLiteral("不一致"));
        if (!c.matches()) verdict->setForeground(Qt::red);
        grid_->setItem(r, 5, verdict);
    }
    if (checks.empty()) return;
    summary_->setText(QStringLiteral("共 %1 个表、%2 行数据；%3 个表一致，%4 个表不一致。")
                          .arg(checks.size())
                          .arg(migration_.copiedRows())
                          .arg(agreeing)
                          .arg(static_cast<int>(checks.size()) - agreeing));
}

void openMigrationWindow(app::TDM& dm, QWidget* parent)
{
    Tsjqyw w(dm, parent);
    w.exec();
}

}  // namespace rsgz::admin
