#include "fonts/AsciiSubstitute.h"

namespace tessary {

// Accented letters lose their accents, typographic quotes, dashes and bullets become their
// nearest ASCII marks, and symbols become short spelled-out forms such as "(C)" or "1/2".
constinit const std::array<AsciiSubstitute, AsciiSubstituteCount> AsciiSubstituteTable = {{
    {0x00A0, " "},    {0x00A1, "!"},   {0x00A2, "c"},    {0x00A3, "P"},   {0x00A4, "o"},
    {0x00A5, "Y"},    {0x00A6, "|"},   {0x00A7, "S"},    {0x00A9, "(C)"}, {0x00AA, "a"},
    {0x00AB, "<<"},   {0x00AC, "-|"},  {0x00AE, "(R)"},  {0x00AF, "-"},   {0x00B0, "o"},
    {0x00B1, "+/-"},  {0x00B2, "^2"},  {0x00B3, "^3"},   {0x00B4, "'"},   {0x00B5, "u"},
    {0x00B6, "P"},    {0x00B7, "."},   {0x00B9, "^1"},   {0x00BA, "o"},   {0x00BB, ">>"},
    {0x00BC, "1/4"},  {0x00BD, "1/2"}, {0x00BE, "3/4"},  {0x00BF, "?"},   {0x00C0, "A"},
    {0x00C1, "A"},    {0x00C2, "A"},   {0x00C3, "A"},    {0x00C4, "A"},   {0x00C5, "A"},
    {0x00C6, "AE"},   {0x00C7, "C"},   {0x00C8, "E"},    {0x00C9, "E"},   {0x00CA, "E"},
    {0x00CB, "E"},    {0x00CC, "I"},   {0x00CD, "I"},    {0x00CE, "I"},   {0x00CF, "I"},
    {0x00D1, "N"},    {0x00D2, "O"},   {0x00D3, "O"},    {0x00D4, "O"},   {0x00D5, "O"},
    {0x00D6, "O"},    {0x00D7, "x"},   {0x00D8, "O"},    {0x00D9, "U"},   {0x00DA, "U"},
    {0x00DB, "U"},    {0x00DC, "U"},   {0x00DD, "Y"},    {0x00DF, "S"},   {0x00E0, "a"},
    {0x00E1, "a"},    {0x00E2, "a"},   {0x00E3, "a"},    {0x00E4, "a"},   {0x00E5, "a"},
    {0x00E6, "ae"},   {0x00E7, "c"},   {0x00E8, "e"},    {0x00E9, "e"},   {0x00EA, "e"},
    {0x00EB, "e"},    {0x00EC, "i"},   {0x00ED, "i"},    {0x00EE, "i"},   {0x00EF, "i"},
    {0x00F1, "n"},    {0x00F2, "o"},   {0x00F3, "o"},    {0x00F4, "o"},   {0x00F5, "o"},
    {0x00F6, "o"},    {0x00F7, "/"},   {0x00F8, "o"},    {0x00F9, "u"},   {0x00FA, "u"},
    {0x00FB, "u"},    {0x00FC, "u"},   {0x00FD, "y"},    {0x00FF, "y"},   {0x02B0, "h"},
    {0x02B2, "j"},    {0x02B3, "r"},   {0x02B7, "w"},    {0x02B8, "y"},   {0x02B9, "'"},
    {0x02BA, "\""},   {0x02BB, "'"},   {0x02BC, "'"},    {0x02BD, "'"},   {0x02BE, "'"},
    {0x02BF, "'"},    {0x02C2, "<"},   {0x02C3, ">"},    {0x02C4, "^"},   {0x02C5, "v"},
    {0x02C6, "^"},    {0x02C7, "v"},   {0x02C8, "'"},    {0x02C9, "-"},   {0x02CA, "'"},
    {0x02CB, "'"},    {0x02CC, "."},   {0x02CD, "_"},    {0x2010, "-"},   {0x2012, "-"},
    {0x2013, "-"},    {0x2014, "--"},  {0x2015, "--"},   {0x2016, "|"},   {0x2017, "_"},
    {0x2018, "'"},    {0x2019, "'"},   {0x201A, ","},    {0x201B, "'"},   {0x201C, "\""},
    {0x201D, "\""},   {0x201E, ","},   {0x201F, "'"},    {0x2020, "+"},   {0x2021, "+"},
    {0x2022, "*"},    {0x2023, ">"},   {0x2024, "."},    {0x2025, ".."},  {0x2027, "."},
    {0x2032, "'"},    {0x2033, "\""},  {0x2035, "'"},    {0x2036, "\""},  {0x2038, "^"},
    {0x2039, "<"},    {0x203A, ">"},   {0x203B, "*"},    {0x203C, "!!"},  {0x203D, "?!"},
    {0x203E, "-"},    {0x2044, "/"},   {0x2047, "??"},   {0x2048, "?!"},  {0x2049, "!?"},
    {0x204E, "*"},    {0x2052, "%"},   {0x2122, "(TM)"}, {0x2212, "-"},   {0x2215, "/"},
    {0x2216, "\\"},   {0x2217, "*"},   {0x2218, "*"},    {0x2219, "*"},   {0x2223, "|"},
    {0xF6D9, "(C)"},  {0xF6DA, "(C)"}, {0xF6DB, "(TM)"}, {0xF8E8, "(C)"}, {0xF8E9, "(C)"},
    {0xF8EA, "(TM)"}, {0xFB01, "fi"},  {0xFB02, "fl"},
}};

std::optional<std::string_view> GetAsciiSubstitute(std::uint16_t unicode) {
    int low = 0;
    int high = static_cast<int>(AsciiSubstituteTable.size()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        if (AsciiSubstituteTable[middle].unicode < unicode) {
            low = middle + 1;
        } else if (AsciiSubstituteTable[middle].unicode > unicode) {
            high = middle - 1;
        } else {
            return AsciiSubstituteTable[middle].text;
        }
    }
    return std::nullopt;
}

}  // namespace tessary
