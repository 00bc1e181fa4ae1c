#include "pdf/ObjectStreamCache.h"

#include <string_view>

#include "pdf/Limits.h"
#include "pdf/PdfObject.h"
#include "pdf/PdfParser.h"

namespace tessary {

bool DecodedObjectStream::ReadHeader(std::int64_t count, std::int64_t firstOffset) {
    if (firstOffset < 0 || firstOffset > static_cast<std::int64_t>(data.size()) || count < 0) {
        return false;
    }
    first = firstOffset;
    objects.clear();
    PdfParser header;
    header.AttachBuffer(nullptr, std::string_view(data).substr(0, static_cast<std::size_t>(first)));
    std::string number;
    std::string offset;
    // Each pair takes at least four bytes, so the header bytes end the loop
    // long before a huge count would.
    for (std::int64_t k = 0; k < count; ++k) {
        if (header.ReadTypedToken(number) != PdfObjectType::Number ||
            header.ReadTypedToken(offset) != PdfObjectType::Number) {
            break;
        }
        objects.emplace_back(ParseInteger(number), ParseInteger(offset));
    }
    return true;
}

std::int64_t DecodedObjectStream::FindObject(std::int32_t index, std::int32_t objectNumber) const {
    if (index < 0 || static_cast<std::size_t>(index) >= objects.size() ||
        objects[static_cast<std::size_t>(index)].first != objectNumber) {
        return -1;
    }
    const std::int64_t offset = objects[static_cast<std::size_t>(index)].second;
    if (offset < 0 || offset >= static_cast<std::int64_t>(data.size()) - first) {
        return -1;
    }
    return first + offset;
}

ObjectStreamCache::Handle ObjectStreamCache::Find(std::int32_t streamNumber) {
    for (auto entry = entries.begin(); entry != entries.end(); ++entry) {
        if ((*entry)->streamNumber == streamNumber) {
            entries.splice(entries.begin(), entries, entry);
            return entries.front();
        }
    }
    return nullptr;
}

ObjectStreamCache::Handle ObjectStreamCache::Add(DecodedObjectStream decoded) {
    totalBytes += decoded.data.size();
    entries.push_front(std::make_shared<const DecodedObjectStream>(std::move(decoded)));
    while (entries.size() > 1 &&
           (entries.size() > kMaxCachedObjectStreams || totalBytes > kMaxCachedObjectStreamBytes)) {
        totalBytes -= entries.back()->data.size();
        entries.pop_back();
    }
    return entries.front();
}

void ObjectStreamCache::Clear() {
    entries.clear();
    totalBytes = 0;
    unreadable.clear();
}

}  // namespace tessary
