#include "payroll/SalaryCalculation.h"

#include <algorithm>
#include <deque>
#include <map>
#include <unordered_map>

#include "db/LatinCase.h"

namespace rsgz::payroll {

using db::Money;

namespace {

std::string key(const std::string& column) { return db::foldLatin(column); }

std::string chainText(const std::vector<std::string>& path)
{
    std::string text = "公式循环引用：";
    for (size_t i = 0; i < path.size(); ++i) text += (i ? " → " : "") + path[i];
    return text;
}

// A computed column with what it reads, before the order is known.
struct Candidate {
    CalculationStep step;
    std::vector<std::string> reads;
};

std::vector<Candidate> candidates(SalaryViewConfig& v)
{
    std::vector<Candidate> out;
    for (const SalaryItem& it : v.items) {
        if (it.formula.empty() || it.code == v.netColumn) continue;
        // The last item is the net pay; when its chain could not be read it shows its stored value.
        if (&it == &v.items.back() && v.netColumn.empty()) continue;
        FormulaResult r = readFormula(it.formula);
        if (!r.ok) {
            v.warnings.push_back("工资项目“" + it.name + "”的计算公式有误，显示保存的数值：" + r.message());
            continue;
        }
        Candidate c{{CalculationStep::Kind::Formula, it.code, std::move(r.formula)}, {}};
        c.reads = c.step.formula.columns();
        out.push_back(std::move(c));
    }
    if (!v.taxColumn.empty() && !v.taxBaseColumn.empty())
        out.push_back({{CalculationStep::Kind::Tax, v.taxColumn, {}}, {v.taxBaseColumn}});
    if (!v.netColumn.empty()) {
        Candidate net{{CalculationStep::Kind::Net, v.netColumn, {}}, v.added};
        net.reads.insert(net.reads.end(), v.subtracted.begin(), v.subtracted.end());
        out.push_back(std::move(net));
    }
    return out;
}

// Depth first through what each candidate reads. Either the order (every candidate after what it
// reads) or the first cycle met, as the path of columns from a candidate back to it.
class Ordering {
public:
    explicit Ordering(const std::vector<Candidate>& c) : c_(c), state_(c.size(), 0)
    {
        for (size_t i = 0; i < c.size(); ++i) index_[key(c[i].step.column)] = i;
    }

    bool run()
    {
        for (size_t i = 0; i < c_.size(); ++i)
            if (!visit(i)) return false;
        return true;
    }
    std::vector<size_t> order;
    std::vector<std::string> cycle;

private:
    bool visit(size_t i)
    {
        if (state_[i] == 2) return true;
        if (state_[i] == 1) {
            const auto from = std::find(path_.begin(), path_.end(), i);
            for (auto p = from; p != path_.end(); ++p) cycle.push_back(c_[*p].step.column);
            cycle.push_back(c_[i].step.column);
            return false;
        }
        state_[i] = 1;
        path_.push_back(i);
        for (const std::string& r : c_[i].reads) {
            const auto found = index_.find(key(r));
            if (found != index_.end() && !visit(found->second)) return false;
        }
        path_.pop_back();
        state_[i] = 2;
        order.push_back(i);
        return true;
    }

    const std::vector<Candidate>& c_;
    std::vector<int> state_;  // 0 not seen, 1 on the path, 2 done
    std::vector<size_t> path_;
    std::unordered_map<std::string, size_t> index_;
};

// Takes the columns of a cycle out of the computation: its formula items show their stored values;
// a cycle of the tax and the net pay alone loses the tax.
void breakCycle(SalaryViewConfig& v, std::vector<Candidate>& c, const std::vector<std::string>& cycle)
{
    v.warnings.push_back(chainText(cycle) + "，这些工资项目显示保存的数值。");
    auto inCycle = [&](const Candidate& x, CalculationStep::Kind kind) {
        return x.step.kind == kind && std::any_of(cycle.begin(), cycle.end(), [&](const std::string& col) {
                   return key(col) == key(x.step.column);
               });
    };
    const size_t before = c.size();
    std::erase_if(c, [&](const Candidate& x) { return inCycle(x, CalculationStep::Kind::Formula); });
    if (c.size() != before) return;
    std::erase_if(c, [&](const Candidate& x) { return inCycle(x, CalculationStep::Kind::Tax); });
    v.taxBaseColumn.clear();
}

}  // namespace

// --- configuration ---------------------------------------------------------------------------------

const SalaryItem* SalaryViewConfig::item(const std::string& code) const
{
    for (const SalaryItem& it : items)
        if (db::equalsIgnoringLatinCase(it.code, code)) return &it;
    return nullptr;
}

bool SalaryViewConfig::isComputed(const std::string& column) const
{
    if (column.empty()) return false;
    if (db::equalsIgnoringLatinCase(column, taxColumn)) return true;
    return std::any_of(steps.begin(), steps.end(),
                       [&](const CalculationStep& s) { return db::equalsIgnoringLatinCase(s.column, column); });
}

bool SalaryViewConfig::isFormula(const std::string& column) const
{
    return std::any_of(steps.begin(), steps.end(), [&](const CalculationStep& s) {
        return s.kind == CalculationStep::Kind::Formula && db::equalsIgnoringLatinCase(s.column, column);
    });
}

std::vector<std::string> SalaryViewConfig::computedColumns() const
{
    std::vector<std::string> out;
    for (const CalculationStep& s : steps) out.push_back(s.column);
    if (!taxColumn.empty() && std::find(out.begin(), out.end(), taxColumn) == out.end()) out.push_back(taxColumn);
    return out;
}

void planCalculation(SalaryViewConfig& v)
{
    v.steps.clear();
    std::vector<Candidate> c = candidates(v);
    while (true) {
        Ordering o(c);
        if (o.run()) {
            for (size_t i : o.order) v.steps.push_back(std::move(c[i].step));
            return;
        }
        breakCycle(v, c, o.cycle);
    }
}

// --- the check before saving -----------------------------------------------------------------------

std::string formulaDependencyFault(const std::vector<SalaryItem>& items, const std::string& code)
{
    std::map<std::string, const SalaryItem*> byCode;
    for (const SalaryItem& it : items) byCode[key(it.code)] = &it;
    auto blank = [](const std::string& f) { return f.find_first_not_of(" \t") == std::string::npos; };
    // What an item reads of the set's other items: a formula its columns, the tax item its base.
    auto reads = [&](const SalaryItem& it) {
        std::vector<std::string> out;
        if (!blank(it.formula)) {
            const FormulaResult r = readFormula(it.formula);
            if (r.ok)
                for (const std::string& col : r.formula.columns())
                    if (byCode.count(key(col))) out.push_back(byCode[key(col)]->code);
        } else if (it.taxFlag && !it.taxLink.empty()) {
            for (const SalaryItem& other : items)
                if (other.name == it.taxLink) out.push_back(other.code);
        }
        return out;
    };
    const auto self = byCode.find(key(code));
    if (self == byCode.end()) return {};
    const SalaryItem& saved = *self->second;
    if (!blank(saved.formula)) {
        const FormulaResult r = readFormula(saved.formula);
        if (!r.ok) return {};  // the reader's own refusal says what is wrong
        for (const std::string& col : r.formula.columns())
            if (col != "出勤天数" && !byCode.count(key(col))) return "计算公式中的“" + col + "”不是本帐套的工资代码！";
    }
    // Breadth first from the saved item: the shortest way back to it is the cycle named.
    std::map<std::string, std::string> cameFrom;
    std::deque<std::string> queue = {saved.code};
    while (!queue.empty()) {
        const std::string at = queue.front();
        queue.pop_front();
        for (const std::string& next : reads(*byCode[key(at)])) {
            if (key(next) == key(saved.code)) {
                std::vector<std::string> path = {next};
                for (std::string p = at; key(p) != key(saved.code); p = cameFrom[key(p)]) path.push_back(p);
                path.push_back(saved.code);
                std::reverse(path.begin(), path.end());
                return chainText(path);
            }
            if (cameFrom.count(key(next))) continue;
            cameFrom[key(next)] = at;
            queue.push_back(next);
        }
    }
    return {};
}

// --- one row ---------------------------------------------------------------------------------------

RowCalculation::RowCalculation(const SalaryViewConfig& v, TaxBrackets brackets)
    : tax_(std::move(brackets)), threshold_(v.threshold)
{
    std::unordered_map<std::string, int> slotOf;
    for (size_t k = 0; k < v.steps.size(); ++k) slotOf[key(v.steps[k].column)] = static_cast<int>(k);
    const int computed = static_cast<int>(v.steps.size());
    auto slot = [&](const std::string& column) {
        const auto found = slotOf.find(key(column));
        if (found != slotOf.end()) return found->second;
        inputs_.push_back(column);
        return slotOf[key(column)] = computed + static_cast<int>(inputs_.size()) - 1;
    };
    for (const CalculationStep& s : v.steps) {
        Step st{&s, {}, {}};
        switch (s.kind) {
        case CalculationStep::Kind::Formula:
            for (const std::string& c : s.formula.columns()) st.reads.push_back(slot(c));
            break;
        case CalculationStep::Kind::Tax: st.reads.push_back(slot(v.taxBaseColumn)); break;
        case CalculationStep::Kind::Net:
            for (const std::string& c : v.added) st.reads.push_back(slot(c));
            for (const std::string& c : v.subtracted) st.subtracts.push_back(slot(c));
            break;
        }
        steps_.push_back(std::move(st));
    }
    slots_.resize(v.steps.size() + inputs_.size());
}

Money RowCalculation::taxOfRow(const Amount& base) { return tax_.taxOf(base.value_or(Money()), threshold_).toFen(); }

void RowCalculation::compute(const Amount* inputs, Amount* out)
{
    const size_t computed = steps_.size();
    std::copy(inputs, inputs + inputs_.size(), slots_.begin() + static_cast<long>(computed));
    for (size_t k = 0; k < computed; ++k) {
        const Step& s = steps_[k];
        Amount& result = slots_[k];
        try {
            switch (s.step->kind) {
            case CalculationStep::Kind::Formula: {
                args_.clear();
                for (int i : s.reads) args_.push_back(slots_[static_cast<size_t>(i)]);
                result = s.step->formula.evaluate(args_.data());
                if (result) result = result->toFen();
                break;
            }
            case CalculationStep::Kind::Tax: result = taxOfRow(slots_[static_cast<size_t>(s.reads[0])]); break;
            case CalculationStep::Kind::Net: {
                // An empty term counts as nothing.
                Money net;
                for (int i : s.reads) net = net + slots_[static_cast<size_t>(i)].value_or(Money());
                for (int i : s.subtracts) net = net - slots_[static_cast<size_t>(i)].value_or(Money());
                result = net.toFen();
                break;
            }
            }
        } catch (const db::MoneyRangeError&) {
            result.reset();
        }
    }
    std::copy(slots_.begin(), slots_.begin() + static_cast<long>(computed), out);
}

}  // namespace rsgz::payroll
