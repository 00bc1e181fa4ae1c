#include "fonts/CMapResources.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>

#include "fonts/CMapReader.h"
#include "fonts/FontLimits.h"

namespace tessary {

namespace {

// The package's folder as the build found it (its pkg-config file names it).
#ifndef TESSARY_CMAP_DATA_DIR
#define TESSARY_CMAP_DATA_DIR "/usr/share/poppler"
#endif

constexpr std::string_view kCollections[] = {"Adobe-CNS1", "Adobe-GB1", "Adobe-Japan1",
                                             "Adobe-Korea1"};

// A name that can only stand for a file in the folder: letters, digits and
// '-', as all of Adobe's CMap names are, so no name climbs out of it.
bool IsCMapFileName(std::string_view name) {
    return !name.empty() && name.size() <= 64 && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '-';
    });
}

// folder/first/second, as the folder names it (an empty folder is the
// current one).
std::string FileInFolder(const std::string& folder, std::string_view first,
                         std::string_view second) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') {
        path += '/';
    }
    path.append(first).append("/").append(second);
    return path;
}

// The bytes of a regular file no larger than the bound; nothing otherwise.
std::optional<std::string> ReadDataFile(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    struct stat info;
    if (!file || fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) > kMaxCMapFileBytes) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return std::nullopt;
    }
    return bytes;
}

std::shared_ptr<const CMap> MakeIdentityCMap() {
    auto cmap = std::make_shared<CMap>();
    CodespaceRange twoBytes;
    twoBytes.length = 2;
    twoBytes.high = {0xFF, 0xFF};
    cmap->codespace.push_back(twoBytes);
    cmap->cids.Add(0, 0xFFFF, 0);
    cmap->cids.Freeze();
    return cmap;
}

class CMapData {
  public:
    static CMapData& Get() {
        static CMapData data;
        return data;
    }

    std::shared_ptr<const CMap> GetCMap(std::string_view name) {
        static const std::shared_ptr<const CMap> identity = MakeIdentityCMap();
        if (name == "Identity-H" || name == "Identity-V") {
            return identity;
        }
        std::lock_guard lock(mutex);
        std::set<std::string, std::less<>> path;
        return LoadCMap(name, path);
    }

    std::shared_ptr<const std::vector<char32_t>> GetCollection(std::string_view collection) {
        if (std::find(std::begin(kCollections), std::end(kCollections), collection) ==
            std::end(kCollections)) {
            return nullptr;
        }
        std::lock_guard lock(mutex);
        auto& table = collections[std::string(collection)];
        if (!table) {
            table = ReadCollection(collection);
        }
        return table;
    }

    void SetFolder(std::optional<std::string> newFolder) {
        std::lock_guard lock(mutex);
        folder = newFolder.value_or(TESSARY_CMAP_DATA_DIR);
        cmaps.clear();
        collections.clear();
    }

  private:
    // `path` holds the names being read, so a /UseCMap chain that comes back
    // to one of them ends there.
    std::shared_ptr<const CMap> LoadCMap(std::string_view name,
                                         std::set<std::string, std::less<>>& path) {
        if (!name.empty() && name.front() == '/') {
            name.remove_prefix(1);
        }
        if (auto found = cmaps.find(name); found != cmaps.end()) {
            return found->second;
        }
        if (!IsCMapFileName(name) || path.size() > kMaxUseCMapDepth || path.count(name) != 0) {
            return nullptr;
        }
        std::optional<std::string> bytes;
        for (std::size_t i = 0; i < std::size(kCollections) && !bytes; ++i) {
            bytes = ReadDataFile(FileInFolder(
                folder, "cMap", std::string(kCollections[i]) + "/" + std::string(name)));
        }
        if (!bytes) {
            return nullptr;
        }
        // What a predefined CMap maps to text is never used.
        auto cmap = std::make_shared<CMap>(ReadCMap(*bytes, 0));
        if (!cmap->useCMap.empty()) {
            path.emplace(name);
            if (std::shared_ptr<const CMap> parent = LoadCMap(cmap->useCMap, path)) {
                cmap->Inherit(*parent);
            }
            path.erase(std::string(name));
        }
        cmaps.emplace(std::string(name), cmap);
        return cmap;
    }

    // One line per CID from 0 up, the hex digits of its character.
    std::shared_ptr<const std::vector<char32_t>> ReadCollection(std::string_view collection) {
        std::optional<std::string> bytes =
            ReadDataFile(FileInFolder(folder, "cidToUnicode", collection));
        if (!bytes) {
            return nullptr;
        }
        auto table = std::make_shared<std::vector<char32_t>>();
        std::string_view rest = *bytes;
        while (!rest.empty() && table->size() <= kMaxCid) {
            const std::size_t end = std::min(rest.find('\n'), rest.size());
            const std::string_view line = rest.substr(0, end);
            std::uint32_t value = 0;
            std::from_chars(line.data(), line.data() + line.size(), value, 16);
            // The tables' only U+00A0 are Adobe-Japan1's two space CIDs (1 and
            // 231), to which the collection's own CMaps map U+0020.
            table->push_back(value == 0xA0 ? U' ' : value <= 0x10FFFF ? value : 0);
            rest.remove_prefix(std::min(end + 1, rest.size()));
        }
        return table;
    }

    std::mutex mutex;
    std::string folder = TESSARY_CMAP_DATA_DIR;
    std::map<std::string, std::shared_ptr<const CMap>, std::less<>> cmaps;
    std::map<std::string, std::shared_ptr<const std::vector<char32_t>>> collections;
};

}  // namespace

std::shared_ptr<const CMap> GetPredefinedCMap(std::string_view name) {
    if (!name.empty() && name.front() == '/') {
        name.remove_prefix(1);
    }
    return CMapData::Get().GetCMap(name);
}

std::shared_ptr<const std::vector<char32_t>> GetCollectionCharacters(std::string_view collection) {
    return CMapData::Get().GetCollection(collection);
}

void SetCMapDataFolder(std::optional<std::string> folder) {
    CMapData::Get().SetFolder(std::move(folder));
}

}  // namespace tessary
