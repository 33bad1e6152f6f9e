#include "print/windows/Trszlbbw.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

#include "app/Interaction.h"
#include "app/Progress.h"
#include "app/TDM.h"
#include "print/windows/CardPainter.h"
#include "print/windows/CardPaper.h"
#include "widgets/WindowStyle.h"

namespace rsgz::print {

namespace {
constexpr double kScreenPerMm = 3.78;
int screenPixels(int layout) { return static_cast<int>(std::nearbyint(layout * kScreenPerMm / 10)); }

using Prepare = std::function<std::pair<CardPage, QImage>(int, CardScale)>;

// More than one card takes a while: a progress window counts them while they are drawn, and is
// gone when the job ends, before anything is said about it.
class CountedCards {
public:
    CountedCards(int count, Prepare prepare) : prepare_(std::move(prepare))
    {
        if (count > 1) progress_.emplace("员工档案表格打印", "正在输出员工档案表…", count);
    }
    Prepare prepare()
    {
        return [this](int card, CardScale scale) {
            if (progress_) progress_->step(card);
            return prepare_(card, scale);
        };
    }

private:
    Prepare prepare_;
    std::optional<app::Progress> progress_;
};
}  // namespace

Trszlbbw::Trszlbbw(app::TDM& dm, QWidget* parent) : QDialog(parent), printing_(dm)
{
    setObjectName(QStringLiteral("Trszlbbw"));
    setWindowTitle(QStringLiteral("员工档案表格打印"));
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("cardToolbar"));
    buildToolbar(bar);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("paperArea"));
    scroll_->setBackgroundRole(QPalette::Dark);
    host_ = new QWidget;
    paper_ = new print::CardPaper(host_);
    paper_->dropped = [this] { showCard(); };
    scroll_->setWidget(host_);
    scroll_->viewport()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(scroll_, 1);
    resize(1200, 800);
    setWindowState(windowState() | Qt::WindowMaximized);
    const CardDefinition::Point o = printing_.definition().offset();
    offsetX_->setValue(o.x);
    offsetY_->setValue(o.y);
    loadPhoto();
    showCard();
}

Trszlbbw::~Trszlbbw() = default;

QWidget* Trszlbbw::paper() const { return paper_; }

void Trszlbbw::buildToolbar(QWidget* bar)
{
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 4, 6, 4);
    row->addWidget(new QLabel(QStringLiteral("客户位置/数量"), bar));
    position_ = new QLineEdit(bar);
    position_->setObjectName(QStringLiteral("positionBox"));
    position_->setReadOnly(true);
    position_->setFixedWidth(90);
    row->addWidget(position_);
    const struct {
        const char* name;
        const char* glyph;
        const char* hint;
        CardPrinting::Move move;
    } moves[] = {{"firstButton", "|◀", "第一个订单", CardPrinting::Move::First},
                 {"priorButton", "◀", "前一个订单", CardPrinting::Move::Prior},
                 {"nextButton", "▶", "后一个订单", CardPrinting::Move::Next},
                 {"lastButton", "▶|", "最后一个订单", CardPrinting::Move::Last}};
    for (const auto& m : moves) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QLatin1String(m.name));
        b->setText(QString::fromUtf8(m.glyph));
        b->setToolTip(QString::fromUtf8(m.hint));
        connect(b, &QToolButton::clicked, this, [this, move = m.move] { this->move(move); });
        row->addWidget(b);
    }
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("打印位置调整"), bar));
    for (auto [box, caption, name] : {std::tuple{&offsetX_, "左右", "offsetX"}, std::tuple{&offsetY_, "上下", "offsetY"}}) {
        row->addWidget(new QLabel(QString::fromUtf8(caption), bar));
        *box = new QSpinBox(bar);
        (*box)->setObjectName(QLatin1String(name));
        (*box)->setRange(-1000, 1000);
        (*box)->setSingleStep(10);
        row->addWidget(*box);
    }
    connect(offsetX_, &QSpinBox::valueChanged, this, &Trszlbbw::offsetChanged);
    connect(offsetY_, &QSpinBox::valueChanged, this, &Trszlbbw::offsetChanged);
    row->addSpacing(12);
    const struct {
        const char* name;
        const char* caption;
        std::function<void()> action;
    } buttons[] = {
        {"defineButton", "表格定义", [this] { define(); }},
        {"refreshButton", "刷新表格", [this] { refresh(); }},
        {"printButton", "打印表格", [this] { printCurrent(false); }},
        {"blankButton", "打印空表", [this] { printCurrent(true); }},
        {"printAllButton", "打印全部", [this] { printAll(); }},
        {"pdfButton", "输出PDF文件", [this] { exportPdf(); }},
        {"closeButton", "返回", [this] { close(); }},
    };
    for (const auto& b : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), bar);
        button->setObjectName(QLatin1String(b.name));
        connect(button, &QPushButton::clicked, this, b.action);
        row->addWidget(button);
    }
    row->addStretch();
}

// The paper: 20 pixels from the top, centred, at least 10 pixels from the left.
void Trszlbbw::layoutPaper()
{
    const CardDefinition& def = printing_.definition();
    const QSize size(screenPixels(def.paperWidth()), screenPixels(def.paperHeight()));
    paper_->setFixedSize(size);
    const int width = std::max(scroll_->viewport()->width(), size.width() + 20);
    host_->setFixedSize(width, size.height() + 40);
    paper_->move(std::max(10, (width - size.width()) / 2), 20);
}

// The paper stays centred in whatever width the scrolling area has.
bool Trszlbbw::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == scroll_->viewport() && e->type() == QEvent::Resize) layoutPaper();
    return QDialog::eventFilter(watched, e);
}

void Trszlbbw::showCard()
{
    position_->setText(QString::fromStdString(printing_.positionText()));
    layoutPaper();
    const CardMode mode = placing_ ? CardMode::Placement : CardMode::Card;
    paper_->setCard(layoutCard(printing_.definition(), printing_.values(), CardScale::screen(), mode), photo_);
}

void Trszlbbw::loadPhoto()
{
    const std::string path = printing_.photoPath();
    photo_ = path.empty() ? QImage() : QImage(QString::fromStdString(path));
}

void Trszlbbw::move(CardPrinting::Move m)
{
    printing_.move(m);
    leavePlacement(true);
    loadPhoto();
    showCard();
}

void Trszlbbw::offsetChanged()
{
    printing_.setOffset({offsetX_->value(), offsetY_->value()});
    paper_->placeLabels();
    showCard();
}

void Trszlbbw::define()
{
    app::interaction().openWindow(app::WindowId::PrintContent);
    enterPlacement();
}

void Trszlbbw::enterPlacement()
{
    placing_ = true;
    paper_->startPlacement(printing_.definition(), photo_);
    showCard();
}

void Trszlbbw::leavePlacement(bool removeLabels)
{
    placing_ = false;
    if (removeLabels) paper_->removeLabels();
}

void Trszlbbw::refresh()
{
    printing_.save();
    leavePlacement(true);
    showCard();
}

std::pair<CardPage, QImage> Trszlbbw::cardFor(int row, CardScale scale, CardMode mode)
{
    if (row >= 0) {
        printing_.showRow(row);
        loadPhoto();
    }
    return {layoutCard(printing_.definition(), printing_.values(), scale, mode), photo_};
}

bool Trszlbbw::print(int count, const std::function<std::pair<CardPage, QImage>(int, CardScale)>& prepare)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    QString err;
    {
        CountedCards cards(count, prepare);
        const CardDefinition& def = printing_.definition();
        err = print::printCards(printer, {count, def.paperWidth(), def.paperHeight(), cards.prepare()});
    }
    if (!err.isEmpty()) app::interaction().showError(err.toStdString());
    return err.isEmpty();
}

void Trszlbbw::printCurrent(bool blank)
{
    leavePlacement(false);
    showCard();
    print(1, [this, blank](int, CardScale scale) { return cardFor(-1, scale, blank ? CardMode::Blank : CardMode::Card); });
}

void Trszlbbw::printAll()
{
    leavePlacement(false);
    if (printing_.rowCount() == 0) return;  // no card to print, not even a blank page
    printing_.move(CardPrinting::Move::First);
    loadPhoto();
    showCard();
    print(printing_.rowCount(), [this](int row, CardScale scale) { return cardFor(row, scale, CardMode::Card); });
    showCard();
}

QString Trszlbbw::writePdf(const QString& path, bool all)
{
    const CardDefinition& def = printing_.definition();
    const int count = all ? printing_.rowCount() : 1;
    QString err;
    {
        CountedCards cards(count, [this, all](int row, CardScale s) { return cardFor(all ? row : -1, s, CardMode::Card); });
        err = print::writeCardsPdf(path, {count, def.paperWidth(), def.paperHeight(), cards.prepare()});
    }
    showCard();
    return err;
}

void Trszlbbw::exportPdf()
{
    std::string path = app::interaction().saveFileName("输出到 PDF 文件", "PDF 文件 (*.pdf)");
    if (path.empty()) return;
    if (!QString::fromStdString(path).endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) path += ".pdf";
    leavePlacement(false);
    const bool all = app::interaction().ask("输出全部员工的档案表吗?\r（选“否”只输出当前员工的档案表）");
    const QString err = writePdf(QString::fromStdString(path), all);
    if (!err.isEmpty()) app::interaction().showError("PDF 文件写入失败：" + path + "\n" + err.toStdString());
}

}  // namespace rsgz::print
