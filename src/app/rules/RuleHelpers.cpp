#include "app/rules/RuleHelpers.h"

#include <memory>

#include "app/Interaction.h"
#include "app/rules/RecordRules.h"

namespace rsgz::app::rules {
using namespace rsgz::db;

std::string today(TDM& dm)
{
    dm.getDateTime();
    return dm.TodayText;
}

bool hasRows(const DataSet& ds) { return ds.active() && !ds.isEmpty(); }

Value currentValue(const DataSet& ds, std::string_view field)
{
    if (!ds.active() || ds.currentRow() < 0) return {};
    return ds.value(field);
}

void copyCurrent(DataSet& to, const DataSet& from, FieldPairs fields)
{
    for (const auto& [target, source] : fields) to.setValue(target, currentValue(from, source));
}

void requireText(TDM& dm, const DataSet& ds, std::string_view field, const std::string& message)
{
    if (!ds.asString(field).empty()) return;
    dm.ShowMessage_jd(message);
    abortSilently();
}

void askDelete(TDM& dm, const std::string& question)
{
    dm.Show_Tishi_windows2(question);
    if (dm.PromptAnswer != 1) abortSilently();
}

void bindDeleteQuestion(TDM& dm, DataSet& ds, std::string question)
{
    appendRule(ds.rules().beforeDelete, [&dm, question = std::move(question)](DataSet&) { askDelete(dm, question); });
}

void openEditor(bool alreadyOpen, app::WindowId window)
{
    if (!alreadyOpen) app::interaction().openWindow(window);
}

void bindStatus(TDM& dm, DataSet& ds)
{
    // The move that follows every open carries the status of the open as well.
    appendRule(ds.rules().afterScroll, [&dm](DataSet& d) { dm.showStatus(d.statusText()); });
}

void bindStatusSkippingEmptyOpen(TDM& dm, DataSet& ds)
{
    auto opening = std::make_shared<bool>(false);
    appendRule(ds.rules().afterOpen, [opening](DataSet&) { *opening = true; });
    appendRule(ds.rules().afterScroll, [&dm, opening](DataSet& d) {
        const bool justOpened = std::exchange(*opening, false);
        if (justOpened && d.isEmpty()) return;
        dm.showStatus(d.statusText());
    });
}

}  // namespace rsgz::app::rules
