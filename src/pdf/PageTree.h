// Finds pages by index in the page tree. The answer for every index is what a
// walk from the root gives, using each intermediate node's /Count to skip
// whole subtrees; the index remembers each node's kids as it meets them, so
// walking all pages in order stays linear in the number of pages, also for a
// flat tree with a very large /Kids array.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "pdf/PdfObject.h"

namespace tessary {

class PageTreeIndex {
  public:
    // The page with that zero-based index below root, or absent.
    // root must live as long as the index (a shared object, or a value held
    // by one).
    ObjectHandle FindPage(const PdfObject* root, std::int64_t index);

    // An index from which on FindPage(root, index) finds no page, so that a
    // caller counting up to a /Count far beyond the pages the tree holds can
    // stop early. It may be larger than the first such index, never smaller.
    std::int64_t GetIndexLimit(const PdfObject* root);

  private:
    // One kid of a node: a page, which takes one index, or a subtree, which
    // takes /Count indexes (a count below 0 gives indexes back).
    struct Segment {
        const PdfObject* kid;  // shared, or owned by a container that outlives the index
        bool isPage;
        std::int64_t size;
        std::int64_t end;  // sum of the sizes up to and including this kid
    };
    struct NodeTable {
        const PdfArray* kids = nullptr;
        std::vector<Segment> segments;  // the kids resolved so far, in order
        bool monotonic = true;          // no segment so far has a negative size
    };

    NodeTable& GetTable(const PdfObject* node);
    static bool Extend(NodeTable& table);
    const PdfObject* Find(const PdfObject* node, std::int64_t index, int depth,
                          std::vector<const PdfObject*>& path);
    const PdfObject* ScanInOrder(NodeTable& table, std::int64_t index, int depth,
                                 std::vector<const PdfObject*>& path);

    std::int64_t Limit(const PdfObject* node, int depth, std::vector<const PdfObject*>& path);

    std::unordered_map<const PdfObject*, NodeTable> tables;
    std::unordered_map<const PdfObject*, std::int64_t> limits;
};

}  // namespace tessary
