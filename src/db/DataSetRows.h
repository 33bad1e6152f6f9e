#pragma once
// Row storage of the record sets: private to src/db.
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "db/Value.h"

namespace rsgz::db::detail {

struct Cell {
    union {
        int64_t i;
        double d;
        struct {
            uint32_t off, len;
        } t;
    };
    Value::Kind kind;
};

enum class RowStatus : uint8_t { Unchanged, Inserted, Modified };

// One row's values in one block: a kind byte per column, an 8-byte slot per column (the number,
// or where the column's text lies in the text part), then the text. The rows read at open live in
// the dataset's arena, packed one after another; a row being edited or written back owns its block.
struct Row {
    int64_t key = 0;
    RowStatus status = RowStatus::Unchanged;
    std::unique_ptr<Row> original;  // batch mode: the row as read, for a modified row

    static size_t kindBytes(int columns) { return (static_cast<size_t>(columns) + 7) & ~static_cast<size_t>(7); }
    static size_t headerBytes(int columns) { return kindBytes(columns) + static_cast<size_t>(columns) * 8; }

    void adopt(char* block, int columns, uint32_t textBytes)
    {
        own_.reset();
        data_ = block;
        columns_ = columns;
        text_ = textBytes;
        capacity_ = 0;
    }
    static std::unique_ptr<Row> blank(int columns)
    {
        auto r = std::make_unique<Row>();
        r->columns_ = columns;
        r->makeRoom(0);
        std::memset(r->data_, 0, headerBytes(columns));  // every kind Null
        return r;
    }
    Cell cell(int c) const
    {
        Cell x;
        x.kind = static_cast<Value::Kind>(data_[c]);
        std::memcpy(&x.i, slot(c), sizeof x.i);
        return x;
    }
    std::string_view text(const Cell& x) const { return {textBase() + x.t.off, x.t.len}; }
    Value get(int c) const
    {
        const Cell x = cell(c);
        switch (x.kind) {
        case Value::Kind::Null: return {};
        case Value::Kind::Int: return Value(x.i);
        case Value::Kind::Double: return Value(x.d);
        case Value::Kind::Money: return Value(Money::fromUnits(x.i));
        case Value::Kind::Bool: return Value(x.i != 0);
        case Value::Kind::Text: return Value(text(x));
        }
        return {};
    }
    void setCell(int c, const Cell& x)
    {
        makeRoom(0);
        data_[c] = static_cast<char>(x.kind);
        std::memcpy(slot(c), &x.i, sizeof x.i);
    }
    void setText(int c, std::string_view s)
    {
        makeRoom(s.size());
        Cell x;
        x.kind = Value::Kind::Text;
        x.t.off = text_;
        x.t.len = static_cast<uint32_t>(s.size());
        std::memcpy(textBase() + text_, s.data(), s.size());
        text_ += x.t.len;
        setCell(c, x);
    }
    bool sameCell(const Row& o, int c) const
    {
        const Cell a = cell(c), b = o.cell(c);
        if (a.kind != b.kind) return false;
        if (a.kind == Value::Kind::Null) return true;
        if (a.kind == Value::Kind::Text) return text(a) == o.text(b);
        if (a.kind == Value::Kind::Double) return a.d == b.d;
        return a.i == b.i;
    }
    // An owned copy holding only the text its cells still point at (edits append to the text).
    std::unique_ptr<Row> copy() const
    {
        auto r = blank(columns_);
        r->key = key;
        r->status = status;
        if (original) r->original = original->copy();
        for (int c = 0; c < columns_; ++c) {
            const Cell x = cell(c);
            if (x.kind == Value::Kind::Text) r->setText(c, text(x));
            else r->setCell(c, x);
        }
        return r;
    }
    size_t ownedBytes() const { return own_ ? capacity_ : 0; }

private:
    char* slot(int c) const { return data_ + kindBytes(columns_) + static_cast<size_t>(c) * 8; }
    char* textBase() const { return data_ + headerBytes(columns_); }
    // Makes the row own its block, with room for more text.
    void makeRoom(size_t more)
    {
        const size_t header = headerBytes(columns_);
        if (own_ && header + text_ + more <= capacity_) return;
        const size_t capacity = header + std::max<size_t>(64, 2 * (text_ + more));
        auto block = std::unique_ptr<char[]>(new char[capacity]);
        if (data_) std::memcpy(block.get(), data_, header + text_);
        own_ = std::move(block);
        data_ = own_.get();
        capacity_ = capacity;
    }

    char* data_ = nullptr;
    int columns_ = 0;
    uint32_t text_ = 0;
    size_t capacity_ = 0;
    std::unique_ptr<char[]> own_;
};

// The blocks of the rows read at open. A re-open reuses them; close() gives them back. Chunks start
// small, for the many short lists, and grow to large aligned ones that the system can back with large
// pages: twenty thousand employees then cost a few dozen page faults instead of thousands.
struct RowArena {
    static constexpr size_t kFirstChunk = size_t{64} << 10;
    static constexpr size_t kLargeChunk = size_t{2} << 20;
    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    using Chunk = std::unique_ptr<char[], Free>;
    std::vector<std::pair<Chunk, size_t>> chunks;
    size_t current = 0, used = 0;

    static Chunk newChunk(size_t size)
    {
        const bool large = size >= kLargeChunk;
        char* p = static_cast<char*>(large ? std::aligned_alloc(kLargeChunk, size) : std::malloc(size));
        if (!p) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        if (large) madvise(p, size, MADV_HUGEPAGE);
#endif
        return Chunk(p);
    }
    char* allocate(size_t n)
    {
        n = (n + 7) & ~static_cast<size_t>(7);
        for (; current < chunks.size(); ++current, used = 0) {
            if (used + n > chunks[current].second) continue;
            char* p = chunks[current].first.get() + used;
            used += n;
            return p;
        }
        size_t size = std::min(kLargeChunk, kFirstChunk << std::min<size_t>(chunks.size(), 8));
        if (n > size) size = (n + kLargeChunk - 1) / kLargeChunk * kLargeChunk;
        chunks.emplace_back(newChunk(size), size);
        current = chunks.size() - 1;
        used = n;
        return chunks.back().first.get();
    }
    void reuse() { current = used = 0; }
    void release()
    {
        chunks.clear();
        reuse();
    }
    size_t bytes() const
    {
        size_t n = 0;
        for (const auto& c : chunks) n += c.second;
        return n;
    }
};

using Rows = std::vector<std::unique_ptr<Row>>;

}  // namespace rsgz::db::detail
