// Object streams (ISO 32000 7.5.7) decoded once and kept, a few at a time, so
// that loading every object of a stream costs one decoding, not one per
// object.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tessary {

struct DecodedObjectStream {
    std::int32_t streamNumber = 0;
    std::string data;        // the decoded bytes
    std::int64_t first = 0;  // where the first object begins (/First)
    // Each object's number and offset after `first`, by index.
    std::vector<std::pair<std::int32_t, std::int64_t>> objects;

    // Reads the header of number and offset pairs that precede /First: at
    // most `count` (/N) pairs, and never past /First, so a count far beyond
    // what the data holds costs nothing. false when /First lies outside the
    // data.
    bool ReadHeader(std::int64_t count, std::int64_t firstOffset);
    // Where the object with this index begins in `data`, when the header
    // gives it that number and the offset lies inside the data; otherwise -1.
    std::int64_t FindObject(std::int32_t index, std::int32_t objectNumber) const;
};

class ObjectStreamCache {
  public:
    using Handle = std::shared_ptr<const DecodedObjectStream>;

    // The decoded stream, made the most recently used; absent when not kept.
    Handle Find(std::int32_t streamNumber);
    Handle Add(DecodedObjectStream decoded);
    // Streams that can't be read as object streams are remembered, so that
    // asking for each of their objects doesn't read them again.
    void MarkUnreadable(std::int32_t streamNumber) { unreadable.insert(streamNumber); }
    bool IsUnreadable(std::int32_t streamNumber) const {
        return unreadable.count(streamNumber) != 0;
    }
    void Clear();

  private:
    std::list<Handle> entries;  // the most recently used first
    std::size_t totalBytes = 0;
    std::unordered_set<std::int32_t> unreadable;
};

}  // namespace tessary
