#include "print/windows/CardPaper.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "print/PrintFonts.h"
#include "print/windows/CardPainter.h"

namespace rsgz::print {

namespace {

constexpr double kScreenPerMm = 3.78;
using print::CardDefinition;

// A label the mouse drags over the paper. Pressing without moving changes nothing.
class MovableLabel : public QLabel {
public:
    MovableLabel(const QString& text, QWidget* parent, std::function<void(QPoint)> moved, std::function<void()> dropped)
        : QLabel(text, parent), moved_(std::move(moved)), dropped_(std::move(dropped))
    {
        setCursor(Qt::SizeAllCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        start_ = e->globalPosition().toPoint();
        from_ = pos();
        moving_ = false;
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (!(e->buttons() & Qt::LeftButton)) return;
        const QPoint to = from_ + (e->globalPosition().toPoint() - start_);
        if (to == pos()) return;
        moving_ = true;
        move(to);
        moved_(to);
    }
    void mouseReleaseEvent(QMouseEvent*) override
    {
        if (moving_ && dropped_) dropped_();
        moving_ = false;
    }

private:
    std::function<void(QPoint)> moved_;
    std::function<void()> dropped_;
    QPoint start_, from_;
    bool moving_ = false;
};

QFont labelFont(const CardDefinition& def, int slot)
{
    const CardDefinition::Font f = print::cardFont(def, slot);
    QFont font(QString::fromStdString(print::installedFontFamily(f.name)));
    font.setPointSize(f.size);
    return font;
}

}  // namespace

CardPaper::CardPaper(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("cardPaper"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void CardPaper::setCard(const print::CardPage& page, const QImage& photo)
{
    page_ = page;
    photo_ = photo;
    update();
}

void CardPaper::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    paintCard(p, page_, photo_);
}

QPoint CardPaper::offsetPixels() const
{
    const CardDefinition::Point o = def_ ? def_->offset() : CardDefinition::Point{};
    return {static_cast<int>(std::nearbyint(o.x / 10.0 * kScreenPerMm)),
            static_cast<int>(std::nearbyint(o.y / 10.0 * kScreenPerMm))};
}

CardDefinition::Point CardPaper::stored(int slot) const
{
    return slot == 0 ? def_->resumePosition() : def_->position(slot);
}

void CardPaper::addLabel(QWidget* w, int slot)
{
    labels_.push_back({w, slot});
    w->adjustSize();
    w->show();
}

void CardPaper::startPlacement(CardDefinition& def, const QImage& photo)
{
    removeLabels();
    def_ = &def;
    auto make = [this, &def](const QString& text, int slot) {
        auto* l = new MovableLabel(
            text, this,
            [this, &def, slot](QPoint at) {
                const QPoint p = at - offsetPixels();
                if (slot == 0) def.setResumePosition({p.x(), p.y()});
                else def.setPosition(slot, {p.x(), p.y()});
            },
            [this] {
                if (dropped) dropped();
            });
        l->setObjectName(QStringLiteral("cardLabel%1").arg(slot));
        return l;
    };
    using Group = CardDefinition::Group;
    const struct {
        Group group;
        const char* colour;
    } groups[] = {{Group::Employee, "blue"}, {Group::Company, "green"}, {Group::Other, "black"}};
    for (const auto& g : groups) {
        const std::vector<std::string> items = def.items(g.group);
        for (size_t i = 0; i < items.size(); ++i) {
            const int item = static_cast<int>(i) + 1;
            auto* l = make(QString::fromStdString(items[i]), CardDefinition::positionSlot(g.group, item));
            l->setFont(labelFont(def, CardDefinition::fontSlot(g.group, item)));
            l->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(g.colour)));
            addLabel(l, CardDefinition::positionSlot(g.group, item));
        }
    }
    auto* photoLabel = make(QString(), CardDefinition::kPhotoSlot);
    photoLabel->setFixedSize(109, 131);
    photoLabel->setStyleSheet(QStringLiteral("border: 1px solid #808080; color: #808080;"));
    photoLabel->setAlignment(Qt::AlignCenter);
    if (photo.isNull()) photoLabel->setText(QStringLiteral("照片"));
    else photoLabel->setPixmap(QPixmap::fromImage(photo.scaled(109, 131)));
    addLabel(photoLabel, CardDefinition::kPhotoSlot);
    if (def.printResume()) {
        auto* resume = make(QStringLiteral("个人简历"), 0);
        // Drawn by its style sheet, as the item labels are: the paper's own palette leaves a plain
        // frame and text invisible on it.
        resume->setStyleSheet(QStringLiteral("border: 1px dashed #0000c0; color: #0000c0; padding: 2px;"));
        resume->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        resume->setFixedSize(std::max(def.resumeWidth(), CardDefinition::kResumeMinWidth),
                             std::max(def.resumeHeight(), CardDefinition::kResumeMinHeight));
        addLabel(resume, 0);
    }
    placeLabels();
}

void CardPaper::placeLabels()
{
    if (!def_) return;
    for (const Label& l : labels_) {
        const CardDefinition::Point p = stored(l.slot);
        l.widget->move(QPoint(p.x, p.y) + offsetPixels());
    }
}

void CardPaper::removeLabels()
{
    for (const Label& l : labels_) delete l.widget;
    labels_.clear();
}

}  // namespace rsgz::print
