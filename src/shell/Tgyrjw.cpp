#include "shell/Tgyrjw.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Product.h"
#include "app/ProgramFolders.h"
#include "widgets/GlyphIcon.h"
#include "widgets/WindowStyle.h"

namespace rsgz::shell {

Tgyrjw::Tgyrjw(const std::string& dataFolder, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Tgyrjw"));
    setWindowTitle(QStringLiteral("关于软件"));

    auto* badge = new QLabel(this);
    badge->setPixmap(widgets::glyphIcon(QStringLiteral("人"), QColor(0x2f, 0x6f, 0xae)).pixmap(48, 48));
    badge->setAlignment(Qt::AlignTop);

    auto* title = new QLabel(QString::fromUtf8(app::kProductTitle), this);
    title->setObjectName(QStringLiteral("productTitle"));
    title->setStyleSheet(QStringLiteral("font-size: 16pt; font-weight: bold; color: #1f3b5a;"));
    auto* version = new QLabel(QString::fromUtf8(app::kVersionLabel), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    version->setStyleSheet(QStringLiteral("color: #4a637d;"));
    auto* vendor = new QLabel(QString::fromUtf8(app::kVendorLines), this);
    vendor->setObjectName(QStringLiteral("vendorLines"));
    vendor->setTextInteractionFlags(Qt::TextSelectableByMouse);
    vendor->setStyleSheet(QStringLiteral("color: #333333; margin-top: 8px;"));

    auto* folder = new QLabel(QStringLiteral("数据文件夹：") + QString::fromStdString(app::shownFolder(dataFolder)), this);
    folder->setObjectName(QStringLiteral("dataFolder"));
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folder->setStyleSheet(QStringLiteral("color: #333333;"));

    auto* text = new QVBoxLayout;
    text->setSpacing(4);
    text->addWidget(title);
    text->addWidget(version);
    text->addWidget(vendor);
    text->addWidget(folder);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(badge);
    top->addLayout(text);

    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(18);
    layout->addLayout(top);
    layout->addLayout(buttons);
    widgets::finishDialog(this);
}

}  // namespace rsgz::shell
