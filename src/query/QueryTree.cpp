#include "query/QueryTree.h"

#include <QFileInfo>

#include <stdexcept>
#include <unordered_map>

#include "db/Gbk.h"

namespace rsgz::query {

int QueryTree::add(std::string text, int parent)
{
    const int depth = parent < 0 ? 0 : node(parent).depth + 1;
    nodes_.push_back({std::move(text), depth, parent});
    return size() - 1;
}

std::vector<std::string> QueryTree::path(int i) const
{
    std::vector<std::string> texts;
    for (int n = i; n >= 0; n = node(n).parent) texts.insert(texts.begin(), node(n).text);
    return texts;
}

std::vector<std::string> QueryTree::fileLines() const
{
    std::vector<std::string> lines;
    lines.reserve(nodes_.size());
    for (const Node& n : nodes_) lines.push_back(std::string(static_cast<size_t>(n.depth), '\t') + n.text);
    return lines;
}

bool QueryTree::readLines(const std::vector<std::string>& lines)
{
    nodes_.clear();
    // A tree is built and queried node by node: far more nodes or levels than any list of this
    // program groups by come from a damaged or foreign file.
    if (lines.size() > static_cast<size_t>(kMaxNodes)) return false;
    nodes_.reserve(lines.size());
    std::vector<int> lastAtDepth;  // the latest node of each depth on the current path
    for (const std::string& line : lines) {
        size_t tabs = 0;
        while (tabs < line.size() && line[tabs] == '\t') ++tabs;
        // The first line is a root whatever its depth; later ones may go at most one level deeper.
        const size_t depth = nodes_.empty() ? 0 : tabs;
        if (depth > lastAtDepth.size() || depth >= static_cast<size_t>(kMaxDepth)) return false;
        const int parent = depth == 0 ? -1 : lastAtDepth[depth - 1];
        const int at = add(line.substr(tabs), parent);
        lastAtDepth.resize(depth);
        lastAtDepth.push_back(at);
    }
    return true;
}

QueryTree::LoadResult QueryTree::load(const std::string& path)
{
    std::vector<std::string> lines;
    try {
        if (QFileInfo(QString::fromStdString(path)).size() > kMaxFileBytes) throw std::length_error(path);
        lines = db::readSettingsLines(path);
    } catch (const std::exception&) {
        nodes_.clear();
        return {false};
    }
    return {readLines(lines)};
}

void QueryTree::save(const std::string& path) const { db::writeSettingsLines(path, fileLines()); }

QueryTree QueryTree::fromRows(const std::vector<std::vector<std::string>>& rows)
{
    // Children are collected per parent first (in the order met), then laid out in pre-order.
    struct Build {
        std::string text;
        std::vector<int> children;
        std::unordered_map<std::string, int> byText;
    };
    std::vector<Build> all(1);  // 0: an invisible top above the roots
    for (const auto& row : rows) {
        int at = 0;
        for (const std::string& value : row) {
            if (value.empty()) break;
            const auto found = all[static_cast<size_t>(at)].byText.find(value);
            if (found != all[static_cast<size_t>(at)].byText.end()) {
                at = found->second;
                continue;
            }
            const int made = static_cast<int>(all.size());
            all.push_back({value, {}, {}});
            all[static_cast<size_t>(at)].children.push_back(made);
            all[static_cast<size_t>(at)].byText.emplace(value, made);
            at = made;
        }
    }
    QueryTree tree;
    tree.nodes_.reserve(all.size() - 1);
    // Depth-first with an explicit stack: (build index, parent position in the tree).
    std::vector<std::pair<int, int>> stack;
    const auto& roots = all[0].children;
    for (auto it = roots.rbegin(); it != roots.rend(); ++it) stack.push_back({*it, -1});
    while (!stack.empty()) {
        const auto [b, parent] = stack.back();
        stack.pop_back();
        const int at = tree.add(std::move(all[static_cast<size_t>(b)].text), parent);
        const auto& kids = all[static_cast<size_t>(b)].children;
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.push_back({*it, at});
    }
    return tree;
}

std::string nodeText(const db::Value& v)
{
    std::string s = v.toString();
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

}  // namespace rsgz::query
