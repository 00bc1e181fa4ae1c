#include "support/FontPrograms.h"

#include <cstdint>
#include <map>

namespace tessary::test {

namespace {

// The eexec and charstring encryption of Type 1 programs.
std::string Encrypt(const std::string& plain, std::uint16_t key) {
    std::string cipher;
    for (unsigned char byte : plain) {
        const auto c = static_cast<unsigned char>(byte ^ (key >> 8));
        key = static_cast<std::uint16_t>((c + key) * 52845u + 22719u);
        cipher.push_back(static_cast<char>(c));
    }
    return cipher;
}

void Put(std::string& out, std::uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift));
}

}  // namespace

std::string MakeType1Font(const GlyphCodes& glyphs) {
    std::string clear =
        "%!PS-AdobeFont-1.0: Test 001\n12 dict begin\n/FontName /Test def\n/FontType 1 def\n"
        "/PaintType 0 def\n/FontMatrix [0.001 0 0 0.001 0 0] readonly def\n"
        "/FontBBox {0 0 500 700} readonly def\n"
        "/Encoding 256 array\n0 1 255 {1 index exch /.notdef put} for\n";
    // "0 500 hsbw endchar" behind the four bytes every charstring starts with.
    const std::string shape = Encrypt(std::string(4, '\0') + "\x8B\xF8\x88\x0D\x0E", 4330);
    std::string charStrings = "/.notdef 9 RD " + shape + " ND\n";
    for (const auto& [code, name] : glyphs) {
        clear += "dup " + std::to_string(code) + " /" + name + " put\n";
        charStrings += "/" + name + " 9 RD " + shape + " ND\n";
    }
    clear += "readonly def\ncurrentdict end\ncurrentfile eexec\n";
    const std::string privateDict =
        std::string(4, '\0') +
        "dup /Private 8 dict dup begin\n/RD{string currentfile exch readstring pop}executeonly "
        "def\n/ND{noaccess def}executeonly def\n/NP{noaccess put}executeonly def\n/lenIV 4 "
        "def\n/password 5839 def\n/MinFeature{16 16}def\n/BlueValues [] def\nend\n2 index "
        "/CharStrings " +
        std::to_string(glyphs.size() + 1) + " dict dup begin\n" + charStrings +
        "end\nend\nreadonly put\nnoaccess put\ndup /FontName get exch definefont pop\nmark "
        "currentfile closefile\n";
    return clear + Encrypt(privateDict, 55665) + "\n" + std::string(512, '0') + "\ncleartomark\n";
}

std::string MakeTrueTypeFont(const GlyphCodes& glyphs, bool microsoftSymbol) {
    const auto count = static_cast<std::uint32_t>(glyphs.size() + 1);
    std::map<std::string, std::string> tables;  // by tag, as the directory lists them
    std::string& head = tables["head"];
    Put(head, 0x00010000, 4), Put(head, 0x00010000, 4), Put(head, 0, 4);
    Put(head, 0x5F0F3CF5, 4), Put(head, 0, 2), Put(head, 1000, 2);
    head.append(24, '\0');  // dates and the bounding box
    Put(head, 0, 2), Put(head, 8, 2), Put(head, 2, 2), Put(head, 0, 2), Put(head, 0, 2);
    std::string& hhea = tables["hhea"];
    Put(hhea, 0x00010000, 4), Put(hhea, 800, 2), Put(hhea, 0xFF38, 2), Put(hhea, 0, 2);
    Put(hhea, 500, 2);
    hhea.append(22, '\0');
    Put(hhea, count, 2);
    std::string& maxp = tables["maxp"];
    Put(maxp, 0x00010000, 4), Put(maxp, count, 2);
    maxp.append(26, '\0');
    for (std::uint32_t glyph = 0; glyph < count; ++glyph)
        Put(tables["hmtx"], 500u << 16, 4);
    tables["loca"].assign(2 * (count + 1), '\0');
    tables["glyf"];
    // Format 4: one segment per code, and the closing one.
    std::string segments[4];
    for (std::uint32_t glyph = 1; glyph < count; ++glyph) {
        const std::uint32_t code = glyphs[glyph - 1].first + (microsoftSymbol ? 0xF000 : 0);
        Put(segments[0], code, 2), Put(segments[1], code, 2);
        Put(segments[2], (glyph - code) & 0xFFFF, 2), Put(segments[3], 0, 2);
    }
    Put(segments[0], 0xFFFF, 2), Put(segments[1], 0xFFFF, 2), Put(segments[2], 1, 2);
    Put(segments[3], 0, 2);
    std::string& cmap = tables["cmap"];
    Put(cmap, 0, 2), Put(cmap, 1, 2), Put(cmap, microsoftSymbol ? 3 : 1, 2), Put(cmap, 0, 2);
    Put(cmap, 12, 4), Put(cmap, 4, 2), Put(cmap, 16 + 8 * count, 2), Put(cmap, 0, 2);
    Put(cmap, 2 * count, 2), Put(cmap, 2, 2), Put(cmap, 0, 2), Put(cmap, 0, 2);
    cmap += segments[0] + std::string(2, '\0') + segments[1] + segments[2] + segments[3];
    std::string& post = tables["post"];
    Put(post, 0x00020000, 4);
    post.append(28, '\0');
    Put(post, count, 2), Put(post, 0, 2);
    for (std::uint32_t glyph = 1; glyph < count; ++glyph)
        Put(post, 257 + glyph, 2);
    for (const auto& [code, name] : glyphs)
        post += static_cast<char>(name.size()) + name;

    std::string font;
    Put(font, 0x00010000, 4), Put(font, static_cast<std::uint32_t>(tables.size()), 2);
    Put(font, 128, 2), Put(font, 3, 2), Put(font, 0, 2);
    std::uint32_t offset = 12 + 16 * static_cast<std::uint32_t>(tables.size());
    std::string data;
    for (auto& [tag, table] : tables) {
        font += tag;
        Put(font, 0, 4), Put(font, offset + static_cast<std::uint32_t>(data.size()), 4);
        Put(font, static_cast<std::uint32_t>(table.size()), 4);
        data += table + std::string((4 - table.size() % 4) % 4, '\0');
    }
    return font + data;
}

}  // namespace tessary::test
