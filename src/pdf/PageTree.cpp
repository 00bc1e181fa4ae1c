#include "pdf/PageTree.h"

#include <algorithm>

#include "pdf/Limits.h"

namespace tessary {

namespace {

// A page is a node whose /Type is exactly /Page; every other node, whatever
// its /Type (a missing one included), is an intermediate node.
bool IsPageNode(const PdfObject* node) {
    return DictionaryOrEmpty(node).GetValueString("/Type") == "/Page";
}

ObjectHandle HandOut(const PdfObject* page) {
    // A shared page is handed out as it is; a page written directly inside a
    // /Kids array is handed out as a copy, as any direct value is.
    return CloneObject(page);
}

}  // namespace

PageTreeIndex::NodeTable& PageTreeIndex::GetTable(const PdfObject* node) {
    auto [entry, inserted] = tables.try_emplace(node);
    if (inserted) {
        entry->second.kids = AsArray(ResolveBorrowed(DictionaryOrEmpty(node).PeekValue("/Kids")));
    }
    return entry->second;
}

bool PageTreeIndex::Extend(NodeTable& table) {
    if (!table.kids || table.segments.size() >= table.kids->GetCount()) {
        return false;
    }
    const PdfObject* kid = ResolveBorrowed(table.kids->PeekElement(table.segments.size()));
    const bool isPage = IsPageNode(kid);
    const std::int64_t size = isPage ? 1 : DictionaryOrEmpty(kid).GetValueInteger("/Count");
    const std::int64_t start = table.segments.empty() ? 0 : table.segments.back().end;
    table.segments.push_back({kid, isPage, size, start + size});
    if (size < 0) {
        table.monotonic = false;
    }
    return true;
}

ObjectHandle PageTreeIndex::FindPage(const PdfObject* root, std::int64_t index) {
    std::vector<const PdfObject*> path;
    return HandOut(Find(root, index, 0, path));
}

const PdfObject* PageTreeIndex::Find(const PdfObject* node, std::int64_t index, int depth,
                                     std::vector<const PdfObject*>& path) {
    // A tree deeper than the limit, or whose /Kids lead back to a node on the
    // way down, ends the walk without a page.
    if (depth > kMaxPageTreeDepth || std::find(path.begin(), path.end(), node) != path.end()) {
        return nullptr;
    }
    NodeTable& table = GetTable(node);
    path.push_back(node);
    const PdfObject* found = nullptr;

    while (table.monotonic && index >= 0 &&
           (table.segments.empty() || table.segments.back().end <= index) && Extend(table)) {
    }
    if (table.monotonic && index >= 0) {
        // With no negative counts the kids' index ranges follow each other in
        // order, so the kid that the in-order walk stops at is the first whose
        // range ends after the index.
        auto kid = std::upper_bound(table.segments.begin(), table.segments.end(), index,
                                    [](std::int64_t i, const Segment& s) { return i < s.end; });
        if (kid != table.segments.end()) {
            const std::int64_t start = kid->end - kid->size;
            found = kid->isPage ? kid->kid : Find(kid->kid, index - start, depth + 1, path);
        }
    } else {
        found = ScanInOrder(table, index, depth, path);
    }
    path.pop_back();
    return found;
}

std::int64_t PageTreeIndex::GetIndexLimit(const PdfObject* root) {
    std::vector<const PdfObject*> path;
    return Limit(root, 0, path);
}

// A page kid k can only answer the index that reaches it as 0, that is its
// start S; a subtree only indexes below S + its count, and of those only the
// ones its own limit allows. Where the walk would end without a page (a cycle,
// the depth limit) the subtree's count is taken instead, which keeps the limit
// an upper bound on every path.
std::int64_t PageTreeIndex::Limit(const PdfObject* node, int depth,
                                  std::vector<const PdfObject*>& path) {
    if (auto known = limits.find(node); known != limits.end()) {
        return known->second;
    }
    NodeTable& table = GetTable(node);
    while (Extend(table)) {
    }
    path.push_back(node);
    std::int64_t limit = 0;
    for (const Segment& kid : table.segments) {
        const std::int64_t start = kid.end - kid.size;
        std::int64_t reach = 1;
        if (!kid.isPage) {
            if (kid.size <= 0) {
                continue;
            }
            const bool cut = depth + 1 > kMaxPageTreeDepth ||
                             std::find(path.begin(), path.end(), kid.kid) != path.end();
            reach = cut ? kid.size : std::min(kid.size, Limit(kid.kid, depth + 1, path));
        }
        limit = std::max(limit, start + reach);
    }
    path.pop_back();
    limits.emplace(node, limit);
    return limit;
}

// The walk as the tree defines it, kid by kid, for nodes whose negative counts
// (or a negative index) make the ranges overlap.
const PdfObject* PageTreeIndex::ScanInOrder(NodeTable& table, std::int64_t index, int depth,
                                            std::vector<const PdfObject*>& path) {
    for (std::size_t k = 0; k < table.segments.size() || Extend(table); ++k) {
        const Segment& kid = table.segments[k];
        if (kid.isPage) {
            if (index == 0) {
                return kid.kid;
            }
            --index;
        } else if (index < kid.size) {
            return Find(kid.kid, index, depth + 1, path);
        } else {
            index -= kid.size;
        }
    }
    return nullptr;
}

}  // namespace tessary
