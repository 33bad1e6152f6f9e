#include "app/Tmain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "admin/Tkhdlw.h"
#include "app/Product.h"
#include "app/TDM.h"

namespace rsgz::app {

Tmain::Tmain(MainFrame& frame, bool login, QWidget* parent) : QMainWindow(parent), frame_(frame)
{
    setObjectName(QStringLiteral("Tmain"));
    setWindowTitle(QString::fromUtf8(kProductTitle));
    resize(1280, 760);
    auto* desktop = new QLabel(this);
    desktop->setObjectName(QStringLiteral("desktopArea"));
    desktop->setAlignment(Qt::AlignCenter);
    desktop->setText(QString::fromUtf8(kProductTitle));
    desktop->setStyleSheet(QStringLiteral("font-size: 28pt; color: #1f4e79; background: #eef3f8;"));
    setCentralWidget(desktop);
    buildMenus();
    buildStatusBar();
    frame_.dm().onStatusText = [this](const std::string& t) { status_[3]->setText(QString::fromStdString(t)); };
    if (login) khdl();
}

void Tmain::khdl()
{
    admin::Tkhdlw w(frame_, this);
    w.exec();
}

void Tmain::buildMenus()
{
    QAction* close = menuBar()->addAction(QStringLiteral("关闭软件"));
    close->setObjectName(QStringLiteral("actionClose"));
    connect(close, &QAction::triggered, this, &QWidget::close);
}

void Tmain::buildStatusBar()
{
    const char* texts[6] = {"提示", "", "记录/总数", "", "CAP", ""};
    for (int i = 0; i < 6; ++i) {
        status_[i] = new QLabel(QString::fromUtf8(texts[i]), this);
        status_[i]->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        status_[i]->setFrameShape(QFrame::Panel);
        status_[i]->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(status_[i], i == 1 ? 1 : 0);
    }
    sizeStatusBar();
}

void Tmain::sizeStatusBar()
{
    const int widths[6] = {50, 0, 64, 60, 50, 50};
    int fixed = 0;
    for (int i = 0; i < 6; ++i) {
        if (i == 1) continue;
        status_[i]->setFixedWidth(widths[i]);
        fixed += widths[i];
    }
    status_[1]->setMinimumWidth(std::max(0, statusBar()->width() - fixed - 24));
}

bool Tmain::event(QEvent* e)
{
    if (e->type() == QEvent::WindowDeactivate) {
        // Back from a modal window, or from another program, is not a new activation.
        countNextActivation_ = QApplication::activeModalWidget() == nullptr && QApplication::activeWindow() != nullptr;
    } else if (e->type() == QEvent::WindowActivate) {
        if (!firstShown_ || countNextActivation_) {
            firstShown_ = true;
            countNextActivation_ = false;
            QTimer::singleShot(0, this, &Tmain::onActivate);
        }
    }
    return QMainWindow::event(e);
}

void Tmain::onActivate()
{
    if (!frame_.activate()) {
        closingWithoutCopy_ = true;
        showMinimized();
        close();
        return;
    }
    sizeStatusBar();
}

void Tmain::closeEvent(QCloseEvent* e)
{
    if (!closingWithoutCopy_) frame_.BeiFen_data();
    e->accept();
}

}  // namespace rsgz::app
