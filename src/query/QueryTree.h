#pragma once
#include <string>
#include <vector>

#include "db/Value.h"

namespace rsgz::query {

// A module's query tree: nodes in depth-first pre-order (a node, its children, its next sibling),
// each with its depth (0 for a root) and its parent's position. That order is the order of the
// tree file, so loading and saving are one pass.
class QueryTree {
public:
    struct Node {
        std::string text;
        int depth = 0;
        int parent = -1;  // position of the parent node, -1 for a root
    };

    const std::vector<Node>& nodes() const { return nodes_; }
    int size() const { return static_cast<int>(nodes_.size()); }
    bool empty() const { return nodes_.empty(); }
    const Node& node(int i) const { return nodes_.at(static_cast<size_t>(i)); }
    void clear() { nodes_.clear(); }

    // Adds a node after the last one: a root, or a child of parent (which must be the last node or
    // one of its ancestors, so that pre-order holds). Returns its position.
    int add(std::string text, int parent);
    void setText(int i, std::string text) { nodes_.at(static_cast<size_t>(i)).text = std::move(text); }
    // The texts from the root down to node i.
    std::vector<std::string> path(int i) const;

    // --- the tree file: GB18030, CR LF, one node per line, as many TABs as its depth before the text ---
    // Bounds of a tree file; beyond them it is damaged.
    static constexpr int kMaxNodes = 100000, kMaxDepth = 16;
    static constexpr long long kMaxFileBytes = 16LL << 20;
    struct LoadResult {
        bool ok = true;  // false: the file broke off (read error, bad text, a jump of more than one
                         // level, more nodes, levels or bytes than the bounds)
    };
    // Reads the file; on a fault the nodes read before it stay. Only TABs count as depth, so a value
    // that begins with blanks keeps them.
    LoadResult load(const std::string& path);
    // Writes the file through a temporary file. A line break inside a value is written as a blank, so
    // it can never split a node into two lines. Throws on a write or encoding error.
    void save(const std::string& path) const;
    // The same lines as the file holds (UTF-8).
    std::vector<std::string> fileLines() const;
    // Builds from lines as the file holds them; false at the first bad line.
    bool readLines(const std::vector<std::string>& lines);

    // --- building ---------------------------------------------------------------------------------
    // Rows of up to four level values each (the distinct combinations of the chosen columns). A node
    // is made for each distinct non-empty value under its parent, in the order first met; an empty
    // value ends the row's path there.
    static QueryTree fromRows(const std::vector<std::vector<std::string>>& rows);

private:
    std::vector<Node> nodes_;
};

// A node text as the tree shows and stores it: the value's text with line breaks made blanks.
std::string nodeText(const db::Value& v);

}  // namespace rsgz::query
