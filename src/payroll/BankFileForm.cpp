#include "payroll/BankFileForm.h"

#include <QFileInfo>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "payroll/BankFile.h"
#include "payroll/BankLayout.h"
#include "payroll/BankRecord.h"
#include "payroll/SalaryView.h"

namespace rsgz::payroll {

BankFileForm::BankFileForm(app::TDM& dm, const SalaryView* view)
    : fileName(defaultBankFilePath()), dm_(dm), view_(view)
{
}

void BankFileForm::activate() { set = view_ ? view_->config().set : std::string(); }

void BankFileForm::chooseFile()
{
    std::string path = app::interaction().saveFileName("请输入新生成的代发文件名称", "文本文件(*.txt)");
    if (path.empty()) return;
    if (QFileInfo(QString::fromStdString(path)).suffix().isEmpty()) path += ".txt";
    if (QFileInfo::exists(QString::fromStdString(path)) && !app::interaction().ask("文件已经存在，要覆盖吗?")) return;
    fileName = path;
}

void BankFileForm::openLayout() { app::interaction().openWindow(app::WindowId::BankLayout); }

// A view that is not narrowed to a month holds every month of the set: the operator hears which
// months, how many records and how much before such a file is made.
bool BankFileForm::confirmAllMonths(const BankBatch& batch)
{
    for (const auto& [field, text] : view_->filter().nodes)
        if (field == "月") return true;
    if (batch.rows == 0) return true;
    std::string months;
    for (const std::string& m : batch.months) months += (months.empty() ? "" : "、") + m;
    return app::interaction().ask("当前工资表没有选择月份，代发文件将包含" + months + "共 " + batch.summary() +
                                  "。继续生成吗?");
}

bool BankFileForm::confirmProblems(const std::string& problems)
{
    if (problems.empty()) return true;
    return app::interaction().ask("代发文件中有以下记录可能不符合银行的格式：\n" + problems + "\n仍要生成文件吗?");
}

bool BankFileForm::generate()
{
    if (!view_ || set.empty() || !dm_.gzb.active()) {
        app::interaction().showMessage("请先在工资表管理中选择工资帐套!");
        return false;
    }
    if (fileName.empty()) {
        app::interaction().showMessage("请输入代发文件名称!");
        return false;
    }
    BankLayoutStore store(dm_.DMADO, dm_.dfgz_set);
    const BankLayout layout = store.open(set);
    if (store.repaired()) {
        app::interaction().showMessage("工资帐套“" + set + "”的代发格式记录不完整，已补齐为八个部分。请在“设置格式”中检查后再生成文件。");
        return false;
    }
    if (!store.damage().empty()) {
        app::interaction().showMessage("工资帐套“" + set + "”的代发格式已经损坏：" + store.damage() + "。请在“设置格式”中改正后再生成文件。");
        return false;
    }
    BankCards cards(dm_.DMADO);
    const BankRecordBuilder builder(layout, *view_, dm_.gzb, cards);
    const BankBatch batch = buildBankBatch(builder, dm_.gzb);
    if (!batch.unencodable.empty()) {
        app::interaction().showMessage(batch.unencodable + "。代发文件没有生成。");
        return false;
    }
    if (!confirmAllMonths(batch)) return false;
    std::string problems;
    for (const std::string& u : builder.unresolved()) problems += (problems.empty() ? "" : "\n") + u;
    if (!batch.problems.empty()) problems += (problems.empty() ? "" : "\n") + batch.problemText();
    if (!confirmProblems(problems)) return false;
    writeBankFile(fileName, batch.bytes);
    app::interaction().showMessage("代发文件已生成：" + batch.summary() + "。\n" + fileName);
    return true;
}

}  // namespace rsgz::payroll
