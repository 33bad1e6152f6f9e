#include "personnel/windows/Tkpqk_editw.h"

#include <QGroupBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "widgets/DataSetGrid.h"
#include "widgets/ListGroup.h"
#include "widgets/RecordFields.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

namespace {

using K = app::EditorFieldKind;

const std::vector<app::EditorField>& itemFields()
{
    static const std::vector<app::EditorField> f = {
        {"考评项目"}, {"目标"}, {"时效"}, {"考评组织"}, {"考评人"}, {"考评范围"}, {"考核标准"}, {"参加人数"},
        {"考评编号"}, {"考评结果1"}, {"通过人数"}, {"考评级别", K::Dictionary}, {"未通过人数"}, {"登记日期"},
        {"考评内容", K::Memo}};
    return f;
}

const std::vector<app::EditorField>& participantFields()
{
    static const std::vector<app::EditorField> f = {{"被考评人姓名"}, {"考评结果"}, {"考评等级", K::Dictionary}, {"考评分数"},
                                               {"考评人1"}, {"考评日期"}, {"考评备注", K::Memo}};
    return f;
}

}  // namespace

Tkpqk_Editw::Tkpqk_Editw(app::TDM& dm, QWidget* parent)
    : widgets::RecordDialog(parent), evaluations_(dm), itemFields_(new widgets::RecordFields(dm, dm.kpxm, this)),
      participantFields_(new widgets::RecordFields(dm, dm.kpjl, this))
{
    setObjectName(QStringLiteral("Tkpqk_Editw"));
    setWindowTitle(QStringLiteral("考评情况管理"));
    auto step = [this](void (EvaluationManagement::*f)()) {
        return [this, f] { run([this, f] { (evaluations_.*f)(); }); };
    };

    widgets::ListGroupSpec items{QStringLiteral("考评项目管理"), QStringLiteral("items"),
                            {"序号", "登记日期", "考评项目", "目标", "时效", "考评级别", "考评组织", "考评人", "考评结果1",
                             "通过人数", "未通过人数", "参加人数", "考核标准", "考评范围", "考评编号"},
                            false, [this] { evaluations_.itemMoved(); }};
    items.editPage = widgets::makeFieldPage(this, *itemFields_, itemFields(), 3);
    items.listTab = QStringLiteral("考评项目列表");
    items.editTab = QStringLiteral("考评项目编辑");
    widgets::ListGroup itemGroup = widgets::makeListGroup(
        this, dm.kpxm, items,
        {{"addItem", "增加", [this] {
              run([this] { evaluations_.addItem(); });
              itemPages_->setCurrentIndex(1);
              if (QWidget* w = itemFields_->widget("考评项目")) w->setFocus();
          }},
         {"saveItem", "保存", step(&EvaluationManagement::saveItem)},
         {"deleteItem", "删除", step(&EvaluationManagement::removeItem)},
         {"returnButton", "返回主窗口", [this] { reject(); }}});
    itemPages_ = itemGroup.pages;
    connect(itemGroup.grid, &QAbstractItemView::clicked, this, [this] { run([this] { evaluations_.itemGridClicked(); }); });

    widgets::ListGroupSpec participants{QStringLiteral("人员考评记录"), QStringLiteral("participants"),
                                   {"序号", "被考评人姓名", "考评结果", "考评等级", "考评分数", "考评人1", "考评日期"},
                                   false, {}};
    participants.editPage = widgets::makeFieldPage(this, *participantFields_, participantFields(), 3);
    participants.listTab = QStringLiteral("参加考评人员列表");
    participants.editTab = QStringLiteral("人员考评数据编辑");
    widgets::ListGroup participantGroup = widgets::makeListGroup(
        this, dm.kpjl, participants,
        {{"chooseParticipants", "选择人员参加考评", step(&EvaluationManagement::chooseParticipants)},
         {"saveParticipant", "保存", step(&EvaluationManagement::saveParticipant)},
         {"deleteParticipant", "删除", step(&EvaluationManagement::removeParticipant)},
         {"deleteAllParticipants", "删除下表全部记录", step(&EvaluationManagement::removeAllParticipants)}});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(itemGroup.box, 1);
    layout->addWidget(participantGroup.box, 1);
    widgets::finishListDialog(this, 980, 700);
}

void Tkpqk_Editw::activateOnce()
{
    run([this] { evaluations_.activate(); });
    itemFields_->refreshLists();
    participantFields_->refreshLists();
}

bool Tkpqk_Editw::leave()
{
    return itemFields_->commitTyped() && participantFields_->commitTyped() && evaluations_.close();
}

void Tkpqk_Editw::showAfterStep()
{
    itemFields_->show();
    participantFields_->show();
}

}  // namespace rsgz::personnel
