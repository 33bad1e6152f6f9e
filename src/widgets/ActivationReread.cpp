#include "widgets/ActivationReread.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <algorithm>

#include "app/OtherClerks.h"
#include "widgets/DataSetModel.h"
#include "widgets/RecordFields.h"

namespace rsgz::widgets {

namespace {

// The nesting of event loops a window's first activation came in: the loop the window runs in.
constexpr char kOwnLoop[] = "rsgzActivationLoop";

DataSetModel* dataSetModelOf(QAbstractItemModel* model)
{
    while (auto* proxy = qobject_cast<QAbstractProxyModel*>(model)) model = proxy->sourceModel();
    return qobject_cast<DataSetModel*>(model);
}

QWidget* nearestWidget(QObject* o)
{
    while (o && !o->isWidgetType()) o = o->parent();
    return static_cast<QWidget*>(o);
}

void activated(QWidget* window)
{
    const int level = QThread::currentThread()->loopLevel();
    const QVariant own = window->property(kOwnLoop);
    if (!own.isValid()) {
        window->setProperty(kOwnLoop, level);
        return;
    }
    QTimer::singleShot(0, window, [w = QPointer<QWidget>(window), loop = own.toInt()] {
        if (!w || !w->isActiveWindow() || QThread::currentThread()->loopLevel() != loop) return;
        rereadShownLists(w);
    });
}

class ActivationWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Qt hands a window's activation on to each of its visible children: the window's own is the one.
        if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow()) activated(w);
        }
        return false;
    }
};

}  // namespace

void rereadListsOnActivation()
{
    static QPointer<ActivationWatch> watch;
    if (watch || !qApp) return;
    watch = new ActivationWatch(qApp);
    qApp->installEventFilter(watch);
}

std::vector<db::DataSet*> shownDataSets(QWidget* window)
{
    std::vector<db::DataSet*> out;
    auto add = [&out](db::DataSet* ds) {
        if (ds && std::find(out.begin(), out.end(), ds) == out.end()) out.push_back(ds);
    };
    for (QAbstractItemView* view : window->findChildren<QAbstractItemView*>()) {
        if (view->window() != window || !view->isVisible()) continue;
        // A cell being typed into is not yet in its dataset: a fresh read would throw it away.
        if (QWidget* f = window->focusWidget(); f && view->viewport()->isAncestorOf(f)) continue;
        if (DataSetModel* m = dataSetModelOf(view->model())) add(m->dataSet());
    }
    for (RecordFields* fields : window->findChildren<RecordFields*>()) {
        QWidget* on = nearestWidget(fields->parent());
        if (on && on->window() == window && on->isVisible()) add(&fields->dataSet());
    }
    return out;
}

void rereadShownLists(QWidget* window)
{
    if (!window) return;
    for (db::DataSet* ds : shownDataSets(window)) app::rereadForOtherClerks(*ds);
}

}  // namespace rsgz::widgets
