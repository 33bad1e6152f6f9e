#include "widgets/DataSetNavigator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

#include "app/Interaction.h"
#include "db/DataSet.h"

namespace rsgz::widgets {

QHBoxLayout* makeDataSetNavigator(QWidget* parent, db::DataSet& ds)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("前后浏览"), parent));
    const struct {
        const char* hint;
        QStyle::StandardPixmap icon;
        void (db::DataSet::*move)();
    } moves[] = {
        {"第一条记录", QStyle::SP_MediaSkipBackward, &db::DataSet::first},
        {"前一条记录", QStyle::SP_MediaSeekBackward, &db::DataSet::prior},
        {"后一条记录", QStyle::SP_MediaSeekForward, &db::DataSet::next},
        {"最后一条记录", QStyle::SP_MediaSkipForward, &db::DataSet::last},
    };
    for (const auto& m : moves) {
        auto* b = new QToolButton(parent);
        b->setObjectName(QString::fromUtf8(m.hint));
        b->setToolTip(QString::fromUtf8(m.hint));
        b->setIcon(parent->style()->standardIcon(m.icon));
        // Taking the focus on a click ends the typing in a field (a date is checked) before the move.
        b->setFocusPolicy(Qt::StrongFocus);
        const auto move = m.move;
        QObject::connect(b, &QToolButton::clicked, parent, [&ds, move] {
            app::runAction([&ds, move] {
                if (ds.active()) (ds.*move)();
            });
        });
        row->addWidget(b);
    }
    return row;
}

}  // namespace rsgz::widgets
